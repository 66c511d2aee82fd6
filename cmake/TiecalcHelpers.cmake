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

# Windows: the application manifest (resources/windows/utf8.manifest) that
# makes the program's narrow code page UTF-8, for its command line and file
# names. Elsewhere nothing.
function(tiecalc_windows_manifest target)
  if(WIN32)
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}-manifest.rc)
    file(CONFIGURE OUTPUT ${rc}
         CONTENT "1 24 \"${PROJECT_SOURCE_DIR}/resources/windows/utf8.manifest\"\n")
    target_sources(${target} PRIVATE ${rc})
  endif()
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
