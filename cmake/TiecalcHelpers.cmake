# Small helpers shared by every folder of the tree.

# A library of the tree: sources relative to the calling folder, includes as
# "core/input/Format.h" from src/.
function(tiecalc_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
endfunction()

# One GoogleTest executable, its cases registered with ctest one by one.
function(tiecalc_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # The tests' own helpers (tests/Portable.h, the temporary folders) make
  # paths from UTF-8 text.
  if(TARGET tiecalc_path)
    target_link_libraries(${name} PRIVATE tiecalc_path)
  endif()
  target_compile_definitions(${name} PRIVATE
    TIECALC_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TIECALC_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(TIECALC_SANITIZE OR TIECALC_FUZZ)
    # Leaks of the system libraries (fontconfig, libgsf) are not ours.
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/LsanSuppressions.cpp)
  endif()
  if(CMAKE_CROSSCOMPILING)
    # Under an emulator (wine) every start of a program is dear: one ctest
    # entry per test program instead of a listing at build time and one start
    # per case. Its cases are counted from the report it writes (wine shows
    # the build machine's files as drive Z:).
    set(drive "")
    if(WIN32)
      set(drive "Z:")
    endif()
    add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:${drive}${PROJECT_BINARY_DIR}/gtest-results/${name}.xml)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENV}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${ARG_ENV}")
  endif()
endfunction()

# A libFuzzer target (TIECALC_FUZZ, clang) built from the fuzzed code's own
# sources, so that they carry the fuzzer's and the sanitizers' instrumentation
# whatever the rest of the build uses, and a short run of it with every ctest:
# test TEST, the libFuzzer ARGS, new inputs into the build tree's CORPUS,
# never into the SEEDS folder.
function(tiecalc_fuzz name)
  cmake_parse_arguments(ARG "" "TEST;CORPUS;SEEDS" "SOURCES;LIBS;ARGS" ${ARGN})
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TIECALC_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  if(ARG_LIBS)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  endif()
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${ARG_CORPUS})
  file(MAKE_DIRECTORY ${corpus})
  add_test(NAME ${ARG_TEST} COMMAND ${name} -seed=1 ${ARG_ARGS} ${corpus} ${ARG_SEEDS})
endfunction()

# Who makes tiecalc, as packaging/copyright says: for the version
# information of the Windows programs and the publisher of the installer.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/copyright TIECALC_COPYRIGHT REGEX "^Copyright: " LIMIT_COUNT 1)
string(REGEX REPLACE "^Copyright: [0-9-]+ (the )?" "" TIECALC_COMPANY "${TIECALC_COPYRIGHT}")
string(REGEX REPLACE "^Copyright: " "Copyright © " TIECALC_COPYRIGHT "${TIECALC_COPYRIGHT}")

# Windows: the icons, drawn at build time from the SVGs into .ico files of
# 16 to 256 px (PNG entries): ${PROJECT_BINARY_DIR}/icons/tiecalc.ico for the
# programs and the installer, application-x-tiecalc-case.ico for case files.
# The renderer is packaging/IconPng.cpp: in a cross build the build machine's
# own (TIECALC_HOST_TOOLS), built there if it is missing.
function(tiecalc_windows_icons)
  if(TARGET tiecalc_windows_icons)
    return()
  endif()
  if(CMAKE_CROSSCOMPILING)
    set(tool ${TIECALC_HOST_TOOLS}/packaging/tiecalc_iconpng)
    if(NOT EXISTS ${tool})
      message(STATUS "Building the icon renderer in ${TIECALC_HOST_TOOLS}")
      execute_process(COMMAND ${CMAKE_COMMAND} --build ${TIECALC_HOST_TOOLS} --target tiecalc_iconpng
                      RESULT_VARIABLE failed OUTPUT_QUIET)
      if(failed)
        message(FATAL_ERROR "No icon renderer: ${TIECALC_HOST_TOOLS} cannot build tiecalc_iconpng (it needs Qt)")
      endif()
    endif()
  elseif(TIECALC_BUILD_QT)
    set(tool tiecalc_iconpng)  # packaging/ builds it
  else()
    message(STATUS "No Qt: the programs carry no icon")
    return()
  endif()
  set(sizes 16 24 32 48 64 256)
  set(icons ${PROJECT_BINARY_DIR}/icons)
  add_custom_command(
    OUTPUT ${icons}/tiecalc.ico ${icons}/application-x-tiecalc-case.ico
    COMMAND ${CMAKE_COMMAND} -E make_directory ${icons}
    COMMAND ${tool} ${PROJECT_SOURCE_DIR}/src/ui/icon128.svg ${icons}/tiecalc.ico ${sizes}
    COMMAND ${tool} ${PROJECT_SOURCE_DIR}/packaging/application-x-tiecalc-case.svg
            ${icons}/application-x-tiecalc-case.ico ${sizes}
    DEPENDS ${tool} ${PROJECT_SOURCE_DIR}/src/ui/icon128.svg ${PROJECT_SOURCE_DIR}/packaging/application-x-tiecalc-case.svg
    COMMENT "Drawing the Windows icons"
    VERBATIM)
  add_custom_target(tiecalc_windows_icons ALL DEPENDS ${icons}/tiecalc.ico ${icons}/application-x-tiecalc-case.ico)
endfunction()

# Windows: the resources of a program (cmake/TiecalcResources.rc.in): the
# application manifest (resources/windows/utf8.manifest) that makes its
# narrow code page UTF-8, its version information (the project's VERSION,
# DESCRIPTION as the file description Explorer shows, TIECALC_COMPANY and
# TIECALC_COPYRIGHT) and the program icon as icon 1, which Explorer
# shows and "PROGRAM.exe,0" names. Elsewhere nothing.
function(tiecalc_windows_resources target)
  cmake_parse_arguments(ARG "" "DESCRIPTION" "" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  set(numbers ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH} ${PROJECT_VERSION_TWEAK} 0 0 0)
  list(SUBLIST numbers 0 4 numbers)
  list(JOIN numbers "," version_numbers)
  set(description "${ARG_DESCRIPTION}")
  set(manifest ${PROJECT_SOURCE_DIR}/resources/windows/utf8.manifest)
  tiecalc_windows_icons()
  set(icon "")
  set(depends ${manifest})
  if(TARGET tiecalc_windows_icons)
    set(icon "1 ICON \"${PROJECT_BINARY_DIR}/icons/tiecalc.ico\"")
    list(APPEND depends ${PROJECT_BINARY_DIR}/icons/tiecalc.ico)
    add_dependencies(${target} tiecalc_windows_icons)
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/TiecalcResources.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${depends}")
  target_sources(${target} PRIVATE ${rc})
endfunction()

# Folders are added only once they exist, so that the tree builds while it grows.
# -DTIECALC_ONLY="core/input;core/analysis" limits a build to the folders named
# (in src/, tests/ and bench/ alike), for quick work on one part.
set(TIECALC_ONLY "" CACHE STRING "Build only these folders (empty: all)")
function(tiecalc_subdirectories)
  foreach(dir ${ARGN})
    if(TIECALC_ONLY AND NOT dir IN_LIST TIECALC_ONLY)
      continue()
    endif()
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
