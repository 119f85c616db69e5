# The texts of the Windows downloads (the zip and the installer), made from
# the repository's own in Windows' line endings, and the project's lines the
# installer shows. scripts/package stages them beside the two programs.
set(texts ${CMAKE_BINARY_DIR}/packaging)
# The user guide, with the version, address and e-mail filled in.
configure_file(${PROJECT_SOURCE_DIR}/packaging/README-windows.txt ${texts}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${texts}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
# The changelog as plain text for Notepad, without Markdown or the notes about
# the Debian package; made again whenever CMake runs after either file changed.
set(changelog_script ${PROJECT_SOURCE_DIR}/packaging/windows_changelog.py)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${changelog_script}
             ${PROJECT_SOURCE_DIR}/packaging/debian_changelog.py)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
execute_process(COMMAND ${Python3_EXECUTABLE} ${changelog_script} ${PROJECT_SOURCE_DIR}/CHANGELOG.md
                        ${texts}/CHANGELOG.txt
                COMMAND_ERROR_IS_FATAL ANY)
file(WRITE ${texts}/project.nsh
  "!define PUBLISHER \"${VANTOREL_AUTHORS}\"\n"
  "!define COPYRIGHT \"${VANTOREL_COPYRIGHT}\"\n"
  "!define URL \"${VANTOREL_HOMEPAGE}\"\n")
