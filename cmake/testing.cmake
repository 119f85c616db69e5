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
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main vantorel_warnings)
  # The fuzz tree builds and runs only the fuzz target.
  if(NOT VANTOREL_FUZZ)
    add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:${VANTOREL_RESULTS_DIR}/${name}.xml)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  endif()
endfunction()
