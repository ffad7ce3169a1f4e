# The Debian package: cpack --config <build>/CPackConfig.cmake (or
# `cpack -G DEB` in the build folder) writes stonerush_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stonerush)
set(CPACK_PACKAGE_VENDOR "The Stonerush developers")
set(CPACK_PACKAGE_CONTACT "The Stonerush developers <maintainers@stonerush.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-block puzzle game")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Pieces of four stones fall into a field of ten columns by eighteen rows; fill\n"
    "whole rows to clear them before the field fills up. Keeps the ten best scores\n"
    "per user, with music and sound effects.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
# Libraries come from dpkg-shlibdeps (Qt Widgets and Multimedia, FluidSynth, libevdev,
# the C++ runtime); the music's soundfont and the labels' fonts are files the
# program opens, which it cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont, fonts-liberation2, fonts-dejavu-core")
# Native windows on a Wayland desktop. Recommended, as Debian's own Qt programs do:
# apt installs it by default, and without it the game still runs, through
# Xwayland on a Wayland desktop and as before on X11, where it would only add
# Qt's Wayland libraries and the EGL stack they depend on.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
