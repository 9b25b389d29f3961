#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds Glacimor for the browser with Debian's emscripten, as far as the game's code goes there
# today, and says exactly where it stops.
#
#   scripts/web-build.sh [BUILD_DIR]     (default build/web)
#
# Steps: SDL 2 built with emscripten from Debian's source (scripts/web-deps.sh, once per version),
# the game configured with `emcmake cmake` (cmake/web.cmake) in BUILD_DIR/game and compiled with
# every source that compiles; then the program is linked for WebGL 1 without emscripten's legacy
# GL emulation. Until the drawing uses only what WebGL 1 offers, that link fails: the script then
# lists the sources that did not compile and every symbol the link could not find, and ends with
# status 1. It ends with status 0 only when BUILD_DIR/game/glacimor.js and .wasm are made.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${1:-build/web}")
jobs=${JOBS:-2}

scripts/web-deps.sh "$build"
sdl=$build/sdl2
game=$build/game

nice -n 19 emcmake cmake -G "Unix Makefiles" -S . -B "$game" -DCMAKE_BUILD_TYPE=Release -DGLACIMOR_TESTS=OFF -DGLACIMOR_BENCH=OFF \
  -DGLACIMOR_WERROR="${GLACIMOR_WERROR:-OFF}" -DGLACIMOR_WEB_SDL="$sdl" >"$build/game-configure.log" 2>&1 ||
  { tail -n 30 "$build/game-configure.log" >&2; exit 1; }
# Every source that compiles is compiled (-k, and the entry's object by its own target, which
# make would skip when the library fails), so that one that does not hides no other.
nice -n 19 cmake --build "$game" -j "$jobs" --target glacimor_core src/platform/GM_Main.o -- -k \
  >"$build/game-build.log" 2>&1 || true
if nice -n 19 cmake --build "$game" -j "$jobs" --target glacimor >>"$build/game-build.log" 2>&1; then
  echo "web-build: ${game#"$root"/}/glacimor.js and glacimor.wasm"
  exit 0
fi

# --- Where it stops -----------------------------------------------------------------------------
sources=$(find src -name '*.cpp' | sort)
failed=()
for source in $sources; do
  object=$(find "$game/CMakeFiles" -path "*/$source.o" | head -n 1)
  [ -n "$object" ] || failed+=("$source")
done
echo "web-build: $(($(echo "$sources" | wc -l) - ${#failed[@]})) of $(echo "$sources" | wc -l) sources compile"
for source in "${failed[@]}"; do
  echo "web-build: $source does not compile:"
  { grep -E "^$root/$source:[0-9]+:[0-9]+: error" "$build/game-build.log" || true; } | sed "s|^$root/|  |" | sort -u
done

# The link the program will need, of what did compile: WebGL 1 and nothing emulated.
objects=$(find "$game/CMakeFiles" -name '*.cpp.o' | sort)
link_log=$build/game-link.log
if nice -n 19 em++ -O2 $objects "$sdl/lib/libSDL2.a" \
    '-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=["$autoResumeAudioContext","$dynCall"]' \
    -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=1 -sALLOW_MEMORY_GROWTH=1 \
    -o "$build/link-check.js" >"$link_log" 2>&1; then
  echo "web-build: what compiles links"
else
  echo "web-build: the link for WebGL 1 finds no:"
  grep -o 'undefined symbol: [^ ]*' "$link_log" | sed 's/undefined symbol: //' | sort -u | c++filt | sed 's/^/  /'
fi
# emscripten links a few calls of the fixed pipeline without its emulation as functions that throw
# when called: the game's code must not call those either.
library=$(dirname "$(readlink -f "$(command -v emcc)")")/src/library_webgl.js
stubs=$(grep -o "Legacy GL function ([A-Za-z0-9]*) called" "$library" 2>/dev/null | sed 's/.*(\(.*\)).*/\1/' | sort -u)
called=()
for name in $stubs; do
  grep -rqE "\\b$name\\s*\\(" src && called+=("$name")
done
[ ${#called[@]} -eq 0 ] || echo "web-build: linked, but throw when called without the emulation: ${called[*]}"
exit 1
