# The Debian package: cpack -G DEB in the build tree (scripts/package does it
# with Debian's build flags). Its dependencies come from dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME taloven)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Equipe Taloven")
set(TALOVEN_PACKAGE_MAINTAINER "Equipe Taloven <equipe@taloven.org>" CACHE STRING
  "Maintainer named in the Debian package")
set(CPACK_PACKAGE_CONTACT ${TALOVEN_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "test, diagnosis and programming of Brazilian fiscal printers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME taloven)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt platform plug-in, libxml2 and libusb are loaded at run time, so
# dpkg-shlibdeps cannot see them; the desktop's opener shows the saved files,
# and xchm the help file.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libxml2, libusb-1.0-0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, xchm")
# The fiscal-memory libraries are loaded by file name from a private folder;
# they are not for other programs to link against.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/data/package/postinst
  ${PROJECT_SOURCE_DIR}/data/package/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
file(READ ${PROJECT_SOURCE_DIR}/data/package/description CPACK_DEBIAN_PACKAGE_DESCRIPTION)
# CPack puts the summary in front of it.
string(STRIP "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}" CPACK_DEBIAN_PACKAGE_DESCRIPTION)

set(CPACK_GENERATOR DEB)
include(CPack)
