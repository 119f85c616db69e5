# CLI11 (Debian's libcli11-dev, header-only) reads vantorel-cli's command line.
# Its headers are /usr/include/CLI. A MinGW build must not search the rest of
# /usr/include, whose C library headers would shadow MinGW's own, so the target
# below offers a folder that holds a link to CLI alone.
find_path(VANTOREL_CLI11_INCLUDE CLI/CLI.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT VANTOREL_CLI11_INCLUDE)
  message(FATAL_ERROR "CLI11 is missing: scripts/setup installs it (Debian package libcli11-dev)")
endif()
set(cli11_dir ${CMAKE_BINARY_DIR}/third_party/cli11)
file(MAKE_DIRECTORY ${cli11_dir})
file(CREATE_LINK ${VANTOREL_CLI11_INCLUDE}/CLI ${cli11_dir}/CLI SYMBOLIC)
# An imported target's folders are system folders: CLI11 is not held to our warnings.
add_library(vantorel_cli11 INTERFACE IMPORTED)
set_target_properties(vantorel_cli11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${cli11_dir})
