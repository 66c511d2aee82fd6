#include <QApplication>
#include <cstdio>
#include <cstring>

#include "TiecalcVersion.h"
#include "ui/MainApp.h"
#include "ui/Pages.h"

#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char* argv[]) {
#ifdef _WIN32
  SetConsoleOutputCP(CP_UTF8);  // what the program prints is UTF-8
#endif
  // Answered before Qt starts, so that it needs no display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("tiecalc %s\n", tiecalc::kVersion);
    return 0;
  }
  QApplication app(argc, argv);
  tiecalc::CMainApp theApp;
  return theApp.InitInstance(app, &tiecalc::MakePages);
}
