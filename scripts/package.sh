#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Debian package: a release build in BUILD_DIR, configured with Debian's games layout,
# packed by CPack into OUT_DIR/glacimor_<version>_<arch>.deb (see docs/INSTALL.md).
#   scripts/package.sh BUILD_DIR OUT_DIR
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR OUT_DIR" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
mkdir -p "$2"
out=$(cd "$2" && pwd)
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

# Debian's compiler and linker flags, with every hardening it offers (fortified string functions,
# stack protector, read-only relocations bound at start-up), as a Debian package of the game is built.
# Asked from the source folder, whose path the flags map away from the debugging information.
flags() { (cd "$root" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"); }
cxxflags="$(flags CXXFLAGS) $(flags CPPFLAGS)"
ldflags=$(flags LDFLAGS)

# The launcher in /usr/games, the program in /usr/lib/games/glacimor and textures/ and shader/ in
# /usr/share/games/glacimor, as Debian's games are laid out; the launcher finds both from its place.
# The copyright file points at Debian's copy of the GPL, so its text is not installed again.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DGLACIMOR_TESTS=OFF -DGLACIMOR_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DGLACIMOR_INSTALL_LICENSE=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr \
    -DGLACIMOR_INSTALL_BINDIR=games \
    -DGLACIMOR_INSTALL_PROGRAMDIR=lib/games/glacimor \
    -DGLACIMOR_INSTALL_DATADIR=share/games/glacimor \
    -DGLACIMOR_PACKAGE_DIR="$out"
cmake --build "$build" -j "$jobs"
(cd "$build" && cpack -G DEB)
