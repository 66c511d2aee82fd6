# Read after each project() of a build with cmake/mingw-w64-x86_64.cmake.
# The Windows platform files, read after the toolchain file, put the import
# libraries (.dll.a) before the archives, so that find_library and pkg-config
# would pick zlib's DLL: the archives first again, for a static link.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a .lib)
