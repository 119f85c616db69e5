# The project's one version number, set by project() in CMakeLists.txt, is the
# one vantorel-cli --version prints and the one the README states.
# Usage: cmake -DCLI=PATH -DREADME=PATH -DVERSION=X.Y.Z -P version_test.cmake
execute_process(COMMAND ${CLI} --version OUTPUT_VARIABLE said RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT said STREQUAL "vantorel-cli ${VERSION}\n")
  message(FATAL_ERROR "vantorel-cli --version said \"${said}\" (status ${status}), not vantorel-cli ${VERSION}")
endif()

file(READ ${README} readme)
# A word "version", not an option such as --set-file-version and its value.
string(REGEX MATCHALL "(^|[^-])[Vv]ersion [0-9]+\\.[0-9]+\\.[0-9]+" stated "${readme}")
if(NOT stated)
  message(FATAL_ERROR "the README states no version")
endif()
foreach(one IN LISTS stated)
  string(REGEX REPLACE "^.?[Vv]ersion " "" number "${one}")
  if(NOT number STREQUAL VERSION)
    message(FATAL_ERROR "the README states version ${number}, the project is ${VERSION}")
  endif()
endforeach()
message(STATUS "vantorel-cli and the README both say ${VERSION}")
