# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian package of `make package` (scripts/package.sh): CPack's DEB generator over the install
# rules of CMakeLists.txt. The package is built from a release build configured with Debian's games
# layout (the launcher in /usr/games, the program in /usr/lib/games/glacimor, the data in
# /usr/share/games/glacimor); see docs/INSTALL.md.

# The version of the game, also the release named in the AppStream metadata (a test compares them).
set(GLACIMOR_VERSION 1.0.0)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glacimor)
set(CPACK_PACKAGE_VERSION ${GLACIMOR_VERSION})
# The maintainer, as the package's Maintainer field and packaging/changelog's entries name it. The
# address follows the assumption that the game is published as glacimor/glacimor on GitHub (see
# docs/INSTALL.md); change both together.
set(CPACK_PACKAGE_VENDOR "The Glacimor developers")
set(CPACK_PACKAGE_CONTACT "The Glacimor developers <glacimor@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D survival game on a plateau of ice")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Where the .deb is written; scripts/package.sh points it at build/.
set(GLACIMOR_PACKAGE_DIR ${CMAKE_BINARY_DIR} CACHE PATH "Folder the Debian package is written to")
set(CPACK_OUTPUT_FILE_PREFIX ${GLACIMOR_PACKAGE_DIR})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are those of the program as built: dpkg-shlibdeps reads the libraries it links
# (SDL 2, GLEW, GL, the C++ runtime) and names the packages that hold them, with versions.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The long description under the summary; CPack indents it for the control file.
set(CPACK_PACKAGE_DESCRIPTION "You are a cube-bodied figure on a square plateau of ice inside a box of
frosted walls, with snow falling all around. Enemies appear at the
plateau's edges, ever faster, and walk straight at you; keep away from them
as long as you can. Your score is the number of whole seconds you survive.

Needs OpenGL 2.1 with GLSL 1.20.")

include(CPack)
