# Cross-building for 64-bit Windows with Debian's mingw-w64 (posix threads),
# linked statically so that each .exe runs on its own, and run under wine
# where the build runs its programs (tests, test discovery).
#
#   cmake -S . -B build-windows -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#     -DTIECALC_MINGW_PREFIX=<where scripts/mingw-deps installed pugixml, libzip, GoogleTest> \
#     -DTIECALC_HOST_TOOLS=<a Linux build folder of this tree, for the build-time tools> \
#     -DTIECALC_MINGW_QT=<the static Qt scripts/mingw-qt built, for the window and the chart>
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TIECALC_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TIECALC_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TIECALC_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TIECALC_MINGW_TRIPLE}-windres)

# Libraries and packages come from the mingw root and from our own prefix
# only, never from the build machine; programs from the build machine.
set(TIECALC_MINGW_PREFIX "" CACHE PATH "Prefix of the libraries built for mingw-w64 (scripts/mingw-deps)")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TIECALC_MINGW_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${TIECALC_MINGW_TRIPLE})
if(TIECALC_MINGW_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${TIECALC_MINGW_PREFIX})
endif()
# Qt for Windows, with the build machine's own Qt for its tools (moc, rcc, uic).
set(TIECALC_MINGW_QT "" CACHE PATH "Prefix of the static Qt built for mingw-w64 (scripts/mingw-qt)")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TIECALC_MINGW_QT)
if(TIECALC_MINGW_QT)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${TIECALC_MINGW_QT})
  set(QT_HOST_PATH /usr CACHE PATH "")
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config likewise: the build machine's .pc files describe its own libraries.
set(ENV{PKG_CONFIG_LIBDIR} "${TIECALC_MINGW_PREFIX}/lib/pkgconfig:/usr/${TIECALC_MINGW_TRIPLE}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# Static: the archives before the import libraries, and the compiler's own
# runtime (libgcc, libstdc++, winpthread) linked in.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a .lib)
set(CMAKE_PROJECT_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/mingw-w64-static.cmake)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(TIECALC_WINE NAMES wine wine64)
if(TIECALC_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TIECALC_WINE})
endif()
