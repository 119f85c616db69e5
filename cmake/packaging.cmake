# The Linux downloads: vantorel-cli as a Debian package made by CPack, and the
# texts of the portable tarball. scripts/package builds them together with the
# Windows zip and installer.

# scripts/package reads the one version number from here.
file(WRITE ${CMAKE_BINARY_DIR}/VERSION "${PROJECT_VERSION}\n")

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(texts ${CMAKE_BINARY_DIR}/packaging)

# Debian wants manual pages and changelogs compressed; -n leaves the name and
# time out, so the package comes out the same on every run.
function(vantorel_gzip target file)
  add_custom_command(
    OUTPUT ${file}.gz
    COMMAND gzip -9 -n -c ${file} > ${file}.gz
    DEPENDS ${file}
    COMMENT "Compressing ${file}")
  add_custom_target(${target} ALL DEPENDS ${file}.gz)
endfunction()

# The page's date: SOURCE_DATE_EPOCH's when scripts/package sets it, as the
# changelog's below, so the package stays reproducible.
string(TIMESTAMP VANTOREL_MAN_DATE "%Y-%m-%d" UTC)
set(man_page ${texts}/vantorel-cli.1)
configure_file(${PROJECT_SOURCE_DIR}/packaging/vantorel-cli.1 ${man_page} @ONLY)
vantorel_gzip(vantorel_man_page ${man_page})

# The guide and the bash completion name vantorel-cli's modes and options:
# vantorel-cli-texts fills them in from the table the program reads its
# command line by, so neither can fall behind it.
add_executable(vantorel-cli-texts ${PROJECT_SOURCE_DIR}/cli/shipped_texts.cpp)
target_link_libraries(vantorel-cli-texts PRIVATE vantorel_cli_lib vantorel_warnings)
set(completion ${texts}/bash-completion/vantorel-cli)
add_custom_command(
  OUTPUT ${texts}/README ${completion}
  COMMAND vantorel-cli-texts ${PROJECT_SOURCE_DIR}/packaging/README-linux.txt ${texts}/README
          PROJECT_VERSION=${PROJECT_VERSION} VANTOREL_HOMEPAGE=${VANTOREL_HOMEPAGE} VANTOREL_EMAIL=${VANTOREL_EMAIL}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${texts}/bash-completion
  COMMAND vantorel-cli-texts ${PROJECT_SOURCE_DIR}/packaging/bash-completion/vantorel-cli.in ${completion}
  DEPENDS vantorel-cli-texts ${PROJECT_SOURCE_DIR}/packaging/README-linux.txt
          ${PROJECT_SOURCE_DIR}/packaging/bash-completion/vantorel-cli.in
  COMMENT "Filling in the guide and the bash completion from vantorel-cli's modes and options"
  VERBATIM)
add_custom_target(vantorel_cli_texts ALL DEPENDS ${texts}/README ${completion})

# Debian's changelog, made from CHANGELOG.md: one entry per version, dated by
# the version's own heading, so it never depends on the clock.
set(changelog ${texts}/changelog)
add_custom_command(
  OUTPUT ${changelog}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/packaging/debian_changelog.py
          ${PROJECT_SOURCE_DIR}/CHANGELOG.md vantorel-cli "${VANTOREL_AUTHORS} <${VANTOREL_EMAIL}>" ${changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/packaging/debian_changelog.py
  COMMENT "Writing the Debian changelog from CHANGELOG.md"
  VERBATIM)
vantorel_gzip(vantorel_changelog ${changelog})
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright ${texts}/copyright @ONLY)

# The Debian package's vantorel-cli is linked as Debian links programs, against
# the system's shared C and C++ libraries, so security updates reach it and
# dpkg-shlibdeps can name what it needs. The static vantorel-cli (faster to
# start: see the README's speed notes) goes in the portable tarball.
# (Its file keeps the target's name: a second file named vantorel-cli would
# take over Ninja's short name for the vantorel-cli target.)
add_executable(vantorel-cli-deb ${PROJECT_SOURCE_DIR}/cli/main.cpp)
target_link_libraries(vantorel-cli-deb PRIVATE vantorel_cli_lib vantorel_warnings)
# Stripped as Debian's own tools strip a program, the compilers' version notes
# (.comment) included.
add_custom_command(TARGET vantorel-cli-deb POST_BUILD
  COMMAND ${CMAKE_STRIP} --remove-section=.comment $<TARGET_FILE:vantorel-cli-deb>)

set(doc_dir share/doc/vantorel-cli)
install(PROGRAMS $<TARGET_FILE:vantorel-cli-deb> DESTINATION bin RENAME vantorel-cli)
install(FILES ${man_page}.gz DESTINATION share/man/man1)
install(FILES ${texts}/copyright ${texts}/README DESTINATION ${doc_dir})
install(FILES ${changelog}.gz DESTINATION ${doc_dir})
install(FILES ${completion} DESTINATION share/bash-completion/completions)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantorel-cli)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${VANTOREL_AUTHORS}")
set(CPACK_PACKAGE_CONTACT "${VANTOREL_AUTHORS} <${VANTOREL_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "give a Windows program file a new icon, in place")
set(CPACK_PACKAGE_DESCRIPTION
    "vantorel-cli writes the first image of an icon file into a Windows program\n(PE32 or PE32+) in place: every icon and icon group of the program then\nshows it. In place, plain or with --all-sizes, nothing is inserted, moved or\nresized: the file keeps its length, data appended to a program keeps its\nplace, and an NSIS installer's own check is kept right. --add-sizes adds\nthe sizes a program lacks in one new section at the end of the file.\nUseful to rebrand Windows builds from Linux CI.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VANTOREL_HOMEPAGE}")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Depends worked out by dpkg-shlibdeps from what the program links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Directories as Debian wants them whatever the umask of whoever packages.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
