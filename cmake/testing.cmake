# GoogleTest: Debian's packaged library natively; for Windows, built from the
# sources Debian ships in /usr/src/googletest.
if(WIN32)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Built as the tests are (tests/CMakeLists.txt): it is test code.
  target_compile_options(gtest PRIVATE -Og)
  target_compile_options(gtest_main PRIVATE -Og)
else()
  find_package(GTest REQUIRED)
endif()

# One ctest entry per test program. Each writes its per-case results as XML into
# build/<tree>/test-results, which scripts/test adds up.
# Under Wine a path must name its drive to be absolute; Z: is the Unix root.
if(WIN32)
  set(VANTOREL_RESULTS_DIR "Z:${CMAKE_BINARY_DIR}/test-results")
else()
  set(VANTOREL_RESULTS_DIR "${CMAKE_BINARY_DIR}/test-results")
endif()

function(vantorel_add_gtest name)
  cmake_parse_arguments(ARG "NO_PCH" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main vantorel_warnings)
  # GoogleTest, and on Windows windows.h, parsed once per tree instead of once
  # per file (over half of a test file's compile time): the first test
  # program makes the precompiled header and the others reuse it. A program of
  # one test file and the code it tests gains nothing from it.
  get_property(pch_owner GLOBAL PROPERTY VANTOREL_TEST_PCH)
  if(NOT ARG_NO_PCH AND pch_owner)
    target_precompile_headers(${name} REUSE_FROM ${pch_owner})
  elseif(NOT ARG_NO_PCH)
    if(WIN32)
      target_precompile_headers(${name} PRIVATE <windows.h> <gtest/gtest.h>)
    else()
      target_precompile_headers(${name} PRIVATE <gtest/gtest.h>)
    endif()
    set_property(GLOBAL PROPERTY VANTOREL_TEST_PCH ${name})
  endif()
  # The fuzz tree builds and runs only the fuzz target.
  if(NOT VANTOREL_FUZZ)
    add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:${VANTOREL_RESULTS_DIR}/${name}.xml)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  endif()
endfunction()
