# SPDX-License-Identifier: MIT
# The Debian package: "cpack -G DEB" in the build folder writes
# quillmoor_<version>_<architecture>.deb with everything "cmake --install"
# installs, under /usr. The libraries it needs are found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmoor)
set(CPACK_PACKAGE_VENDOR "The Quillmoor developers")
set(QUILLMOOR_PACKAGE_MAINTAINER "Quillmoor maintainers <maintainers@users.noreply.c-seed-c60d9b01.example>"
    CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT ${QUILLMOOR_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "authoring kit for text puzzle games on a nine by nine map")
set(CPACK_PACKAGE_DESCRIPTION
"Quillmoor makes and plays text puzzle games. A level is a map of nine by
nine locations, each with its narrative, its exits, the items lying there
and a type (start, end of game, a way into another level), the items'
names and the rules that make one item from two others.

The package holds the level editor (studio), which shows a level as a grid
of location buttons and starts the player on it after a save; the player
(quillmoorplayer), one console in a window or in a terminal, whose command
words and sentences come from a language file (English, German, French and
Spanish are included); quillmoorpublish, which turns a level into one web
page that plays in any browser; quillmoorcheck, which finds what is wrong
with a level and proves whether it can be won; and a bundled adventure.
Level files (.qw) open in the player by a double-click.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# An authoring kit, as Inform's compiler and Godot are: the programs lie in
# /usr/bin, where the section "games" would want them in /usr/games, which
# the editor and the tools are not.
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What no library names: the window system's plugins, without which Qt
# draws no window (only recommended by Qt's own packages).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
