# The texts of the Windows downloads (the zip and the installer), made from
# the repository's own in Windows' line endings, and the project's lines the
# installer shows. scripts/package stages them beside the two programs.
set(texts ${CMAKE_BINARY_DIR}/packaging)
# The user guide, with the version, address and e-mail filled in.
configure_file(${PROJECT_SOURCE_DIR}/packaging/README-windows.txt ${texts}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${texts}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/CHANGELOG.md ${texts}/CHANGELOG.txt @ONLY NEWLINE_STYLE CRLF)
file(WRITE ${texts}/project.nsh
  "!define PUBLISHER \"${VANTOREL_AUTHORS}\"\n"
  "!define COPYRIGHT \"${VANTOREL_COPYRIGHT}\"\n"
  "!define URL \"${VANTOREL_HOMEPAGE}\"\n")
