#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks the two things the browser build's checks stand on, before any game is in the page: the
# DevTools driver of headless Chromium (tools/web/cdp.mjs) and the SDL 2 that scripts/web-deps.sh
# builds with emscripten. A page of its own (tools/web/selfcheck/) is served on 127.0.0.1 and
# driven; the check fails unless
#   - a WebGL 1 triangle drawn by the page reads back red on green (Chromium draws WebGL through
#     SwiftShader, without a GPU),
#   - the keys F1 and W and a click at (10, 10) reach the page's own listeners, in that order,
#   - SDL, compiled into the page (sdl_check.c), clears its WebGL context red, counts both keys,
#     keeps its Web Audio callback running, opens a Gamepad API controller as a game controller
#     with SDL's mapping and sees its A button.
#
#   tools/web/selfcheck.sh [BUILD_DIR]     (default build/web; the page and pictures go to
#                                            BUILD_DIR/selfcheck)
set -euo pipefail
cd "$(dirname "$0")/../.."
source tools/web/lib.sh
build=$(realpath -m "${1:-build/web}")
out=$build/selfcheck

for tool in node python3 convert /usr/lib/chromium/chromium; do
  command -v "$tool" >/dev/null || { echo "selfcheck: $tool is missing (nodejs, python3, imagemagick, chromium)" >&2; exit 1; }
done
scripts/web-deps.sh "$build"
rm -rf "$out" && mkdir -p "$out"
cp tools/web/selfcheck/index.html "$out/"
nice -n 19 emcc -O1 tools/web/selfcheck/sdl_check.c -I"$build/sdl2/include/SDL2" "$build/sdl2/lib/libSDL2.a" \
  '-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=["$autoResumeAudioContext","$dynCall"]' -o "$out/sdl_check.js"

serve "$out" "$out/http.log"

node tools/web/cdp.mjs --log "$out/page.log" "http://127.0.0.1:$port/index.html" \
  'wait:60:window.sdlCheck && sdlCheck[0] > 2' \
  "canvas:#webgl:$out/webgl.png" "canvas:#canvas:$out/sdl.png" \
  'key:F1' 'key:w' 'click:10:10' 'eval:pressA()' \
  'wait:20:keys.join() === "F1,KeyW" && clicks.join() === "10,10"' \
  'wait:20:sdlCheck[3] >= 2 && sdlCheck[2] >= 1 && sdlCheck[4] >= 1' \
  'wait:20:sdlCheck[1] >= 3' \
  'eval:sdlCheck' >"$out/counts.txt" ||
  { echo "selfcheck: failed; the page said:" >&2; sed 's/^/  /' "$out/page.log" >&2; exit 1; }

# pixel FILE X Y: the colour at X, Y as r,g,b (0 to 255).
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}
[ "$(pixel "$out/webgl.png" 32 36)" = 255,0,0 ] || { echo "selfcheck: the WebGL triangle is not red" >&2; exit 1; }
[ "$(pixel "$out/webgl.png" 2 2)" = 0,255,0 ] || { echo "selfcheck: the WebGL clear is not green" >&2; exit 1; }
[ "$(pixel "$out/sdl.png" 32 32)" = 255,0,0 ] || { echo "selfcheck: SDL's WebGL context is not cleared red" >&2; exit 1; }
echo "selfcheck: the driver and SDL work in headless Chromium (frames, audio callbacks, controllers, keys," \
  "A presses: $(tail -n 1 "$out/counts.txt"); $(grep -m1 'video ' "$out/page.log" || true))"
