# The Debian package: `cpack -G DEB` in a release build folder makes
# quillora_<version>_<arch>.deb of what `cmake --install` puts under /usr,
# with the dependencies dpkg-shlibdeps finds in the program's libraries.
# The compressed manual page, changelog and the copyright file are installed
# by the main CMakeLists.txt, so that `cmake --install` gives the same files.
set(CPACK_PACKAGE_NAME quillora)
set(CPACK_PACKAGE_VENDOR "Torvane GbR")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Torvane GbR <quillora@torvane.de>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design and print order forms")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Torvane GbR <quillora@torvane.de>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.torvane.de")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Scanned returns come as TIFF files too, which Qt reads through its plugin.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-image-formats-plugins)
# The long text under the summary; CPack indents it and marks the empty line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quillora designs printed order forms for small shops and clubs. A form is
a list of categories, each with a name, an optional picture and an
introduction, and its fields: ruled text boxes, check boxes and
single-choice circles.

Margins, fonts, colours, a header with logo, footers with the page
number, a page frame and a background of colour, gradient and picture
are set around it. The form is laid out into pages of the printer's
size, previewed at any zoom and printed, also from the shell through
CUPS. The interface is German, English, French or Dutch.")
include(CPack)
