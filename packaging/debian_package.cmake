# `cpack -G DEB` in the build directory makes tessarin_<version>_<arch>.deb of what
# `cmake --install` lays down, under /usr. Configure with -DCMAKE_INSTALL_PREFIX=/usr for a
# build that matches it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessarin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tessarin developers")
set(CPACK_PACKAGE_CONTACT "Tessarin developers <tessarin@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer and converter for MSX2 bitmap screen files")
# Debian shows the extended description as it is: lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION [[
Tessarin shows the bitmap screens of MSX2 and MSX2+ home computers:
VRAM images saved from an MSX (screens 5, 6, 7, 8, 10/11 and 12, the last
two in YJK colours) and their palette files. It decodes the picture at
four sizes, optionally rotated, and saves it as BMP or PNG.

The package also holds tessarin-export, which converts screen files to
BMP or PNG from the command line, singly or in batches, and makes the
thumbnails that file managers show.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends from the libraries the programs link (dpkg-shlibdeps, in dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# C-BIOS's ROM gives text screens that carry no font the machine's own; without it their
# characters are blank.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS cbios)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# A native package: its changelog is share/doc/tessarin/changelog.gz, one entry for the
# version built, dated by SOURCE_DATE_EPOCH when set.
set(DEB_VERSION ${CPACK_PACKAGE_VERSION})
string(TIMESTAMP CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in
  ${CMAKE_CURRENT_BINARY_DIR}/changelog.in.txt @ONLY)
tessarin_gzip(${CMAKE_CURRENT_BINARY_DIR}/changelog.in.txt
  ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
list(APPEND made ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION share/doc/tessarin)

include(CPack)
