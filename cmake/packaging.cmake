# The Linux download: vantorel-cli as a Debian package, made by CPack.
# scripts/package builds it together with the Windows zip and installer.

# scripts/package reads the one version number from here.
file(WRITE ${CMAKE_BINARY_DIR}/VERSION "${PROJECT_VERSION}\n")

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

set(man_page ${CMAKE_BINARY_DIR}/packaging/vantorel-cli.1)
# The page's date: SOURCE_DATE_EPOCH's when scripts/package sets it, as the
# changelog's below, so the package stays reproducible.
string(TIMESTAMP VANTOREL_MAN_DATE "%Y-%m-%d" UTC)
configure_file(${PROJECT_SOURCE_DIR}/packaging/vantorel-cli.1 ${man_page} @ONLY)
vantorel_gzip(vantorel_man_page ${man_page})

set(doc_dir share/doc/vantorel-cli)
# Debian asks every package for a changelog; ours names the release, dated by
# SOURCE_DATE_EPOCH when scripts/package sets it (string(TIMESTAMP) honours it).
string(TIMESTAMP release_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog)
file(WRITE ${changelog}
  "vantorel-cli (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
  "  * Release ${PROJECT_VERSION}.\n\n"
  " -- The Vantorel authors <vantorel@users.noreply.invalid>  ${release_date}\n")
vantorel_gzip(vantorel_changelog ${changelog})
# Linked statically on purpose: relocating the shared C++ library took longer
# than a whole icon replacement (see the README's speed notes).
set(overrides ${CMAKE_BINARY_DIR}/packaging/lintian-overrides)
file(WRITE ${overrides} "vantorel-cli: statically-linked-binary [usr/bin/vantorel-cli]\n")
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/copyright COPYONLY)

install(TARGETS vantorel-cli RUNTIME DESTINATION bin)
install(FILES ${man_page}.gz DESTINATION share/man/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/copyright DESTINATION ${doc_dir})
install(FILES ${changelog}.gz DESTINATION ${doc_dir})
install(FILES ${overrides} DESTINATION share/lintian/overrides RENAME vantorel-cli)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantorel-cli)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Vantorel authors")
set(CPACK_PACKAGE_CONTACT "The Vantorel authors <vantorel@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "give a Windows program file a new icon, in place")
set(CPACK_PACKAGE_DESCRIPTION
    "vantorel-cli writes the first image of an icon file into a Windows program\n(PE32 or PE32+) in place: every icon and icon group of the program then\nshows it. Nothing is inserted, moved or resized, so data appended to a\nprogram keeps its place. Useful to rebrand Windows builds from Linux CI.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vantorel.invalid/")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Linked statically: the package needs nothing else.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
