#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds Glacimor for the browser with Debian's emscripten: the page and the program, in one folder
# that any static web server can serve.
#
#   scripts/web-build.sh [BUILD_DIR]     (default build/web)
#
# Steps: SDL 2 built with emscripten from Debian's source (scripts/web-deps.sh, once per version),
# the game configured with `emcmake cmake` (cmake/web.cmake) in BUILD_DIR/game and linked for WebGL
# 1 without emscripten's legacy GL emulation, with textures/ and shader/ preloaded into
# glacimor.data; then the page (web/) and the program's glacimor.js, .wasm and .data are put
# together in BUILD_DIR/site. Warnings are errors here unless GLACIMOR_WERROR=OFF is given.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${1:-build/web}")
jobs=${JOBS:-2}

scripts/web-deps.sh "$build"
# emscripten's optimiser of the program's JavaScript needs Debian's node-acorn, which a Node.js from
# elsewhere than Debian does not look for where Debian keeps it.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
game=$build/game
site=$build/site

# -O2 for the program and its link, in place of the -O3 of a Release build.
nice -n 19 emcmake cmake -G "Unix Makefiles" -S . -B "$game" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DGLACIMOR_TESTS=OFF -DGLACIMOR_BENCH=OFF \
  -DGLACIMOR_WERROR="${GLACIMOR_WERROR:-ON}" -DGLACIMOR_WEB_SDL="$build/sdl2" >"$build/game-configure.log" 2>&1 ||
  { echo "web-build: configuring the game failed ($build/game-configure.log):" >&2
    tail -n 20 "$build/game-configure.log" >&2; exit 1; }
if ! nice -n 19 cmake --build "$game" -j "$jobs" --target glacimor >"$build/game-build.log" 2>&1; then
  # The first errors say what stops it: a source that does not compile, or what the link finds no
  # definition of (a GL call that WebGL 1 does not have).
  echo "web-build: building the game failed ($build/game-build.log):" >&2
  { grep -E '^[^ ]+:[0-9]+:[0-9]+: (fatal )?error:|undefined symbol:|^(wasm-ld: )?error:' "$build/game-build.log" || tail -n 20 "$build/game-build.log"; } |
    sed "s|$root/||" | head -n 20 >&2
  exit 1
fi

rm -rf "$site"
mkdir -p "$site"
cp web/* "$site/"
cp "$game"/glacimor.js "$game"/glacimor.wasm "$game"/glacimor.data "$site/"
echo "web-build: ${site#"$root"/}/ holds the page and the game ($(du -sh "$site" | cut -f1)); make web-serve serves it"
