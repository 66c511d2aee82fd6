// Leaks inside the system libraries, not ours, for sanitizer builds: the leak
// checker asks the program for these before it reports.
//
// libgsf loses a few bytes on some malformed compound-file directories; with
// the fast unwinder the stack ends in glib, so glib allocations are named too
// (the workbook engine allocates nothing through glib itself). fontconfig
// keeps its configuration caches until exit, and Qt's font lookup reaches it
// in every test that shows text.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
  return "leak:gsf_infile_msole_new\n"
         "leak:libglib-2.0.so\n"
         "leak:libfontconfig.so\n";
}
