#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# `make web-check`: the browser build in Debian's headless Chromium, seen and played as a player
# would, from one page server on 127.0.0.1. Two parts:
#   1. The picture. The golden frames' six scenes, drawn by the game's own frame in the browser from
#      the same scripted state (tools/web/scene.cpp), each set beside the desktop's reference picture
#      in tests/golden; tools/web/pictures.mjs says how they are compared, and why with that
#      tolerance (SwiftShader draws the browser's WebGL here, not llvmpipe).
#   2. Play. The page loads with its progress, the frames run, a click takes the pointer and starts
#      the sound, F1 turns god mode on with its message "godmode on", W walks, 1 stuns the enemies that
#      have come near, F3 turns the world to wireframe (most of the picture becomes the black it is
#      cleared to; the edges themselves are judged in part 1's wireframe scene), the first Escape only
#      frees the pointer, the second ends the game, and the page says so.
# Play is judged by the game's state report (game/state_report.h, called from the page) and by the
# pictures; every condition is waited for with a deadline, at whatever rate the frames come.
#
#   tools/web/check.sh [BUILD_DIR]     (default build/web, where `make web` has built site/)
#
# Pictures and logs go to BUILD_DIR/check.
set -euo pipefail
cd "$(dirname "$0")/../.."
source tools/web/lib.sh
root=$PWD
build=$(realpath -m "${1:-build/web}")
out=$build/check

for tool in node python3 /usr/lib/chromium/chromium; do
  command -v "$tool" >/dev/null || { echo "web-check: $tool is missing (nodejs, python3, chromium)" >&2; exit 1; }
done
[ -f "$build/site/index.html" ] && [ -f "$build/site/glacimor.wasm" ] ||
  { echo "web-check: no build in $build/site (make web)" >&2; exit 1; }
rm -rf "$out" && mkdir -p "$out/scenes"

# The scenes' program, built beside the game (the same configuration: scripts/web-build.sh).
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
nice -n 19 cmake --build "$build/game" -j "${JOBS:-2}" --target glacimor_scenes >"$out/scenes-build.log" 2>&1 ||
  { echo "web-check: building the scenes' program failed ($out/scenes-build.log):" >&2
    tail -n 20 "$out/scenes-build.log" | sed "s|$root/||" >&2; exit 1; }
cp tools/web/scene.html "$out/scenes/index.html"
cp "$build"/game/glacimor_scenes.{js,wasm,data} "$out/scenes/"

serve "$build" "$out/http.log"
url=http://127.0.0.1:$port

# --- 1. The picture -------------------------------------------------------------------------------
scenes=(start spaced_peak labels wireframe shading_off blending_off)
steps=('wait:60:window.Module && Module.calledRun && window.sceneReady')
for scene in "${scenes[@]}"; do
  steps+=("wait:30:drawScene('$scene')" "canvas:#canvas:$out/$scene.png")
done
node tools/web/cdp.mjs --log "$out/scenes.log" "$url/check/scenes/index.html" "${steps[@]}" ||
  { echo "web-check: the scenes were not drawn; the page said:" >&2; tail -n 20 "$out/scenes.log" | sed 's/^/  /' >&2; exit 1; }
failed=0
for scene in "${scenes[@]}"; do
  # Wireframe is lines a pixel wide, and no two renderers cover a pixel of a line alike: it may change
  # 10 % of its blocks (7 % do here), where its quads' diagonals drawn change 35 % and the edges of
  # faces turned away 47 %. Every other scene may change 1 % (0.3 % at most here).
  max=$([ "$scene" = wireframe ] && echo 518 || echo 51)
  node tools/web/pictures.mjs compare "tests/golden/$scene.ppm" "$out/$scene.png" "$max" | sed 's/^/web-check: /' ||
    failed=1
done
[ "$failed" = 0 ] || { echo "web-check: the browser's picture is not the desktop's (pictures in $out)" >&2; exit 1; }

# --- 2. Play --------------------------------------------------------------------------------------
# state(KEY): the words after KEY on its line of the game's state report, written afresh;
# enemies(TEST): how many enemies pass TEST({ state, dist }) (state 0 stunned, 1 walking, 2 dead).
helpers='window.report = () => {
  Module.ccall("glacimor_report_state", null, ["string"], ["/state"]);
  return FS.readFile("/state", { encoding: "utf8" }).split("\n");
};
window.state = (key) => {
  const line = report().find((l) => l.startsWith(key + " "));
  return line === undefined ? "" : line.slice(key.length + 1);
};
window.enemies = (test) => report().filter((l) => l.startsWith("enemy ")).map((l) => l.split(" "))
  .filter((f) => test({ state: Number(f[5]), dist: Number(f[9]) })).length;
window.later = (ms) => { const t = Number(state("ticks")); return () => Number(state("ticks")) >= t + ms; };
window.startTicks = Number(state("ticks")); true'

node tools/web/cdp.mjs --log "$out/page.log" "$url/site/index.html" \
  'wait:60:glacimorPage.state !== "loading"' \
  'eval:glacimorPage' \
  'wait:1:glacimorPage.state === "playing" && glacimorPage.total > 0 && glacimorPage.loaded === glacimorPage.total' \
  "eval:$helpers" \
  'wait:20:Number(state("ticks")) >= startTicks + 500' \
  "shot:$out/start.png" \
  'click:400:300' \
  'wait:10:document.pointerLockElement === canvas && Module.SDL2.audioContext.state === "running"' \
  'key:F1' \
  'wait:10:state("god") === "1" && state("message") === "godmode on"' \
  'down:w' \
  'wait:20:Number(state("player").split(" ")[2]) < -5' \
  'up:w' \
  'wait:120:enemies((e) => e.state === 1 && e.dist < 10) >= 1' \
  'key:1' \
  'wait:10:enemies((e) => e.state === 0) >= 1' \
  "canvas:#canvas:$out/filled.png" \
  'key:F3' \
  'wait:10:state("wireframe") === "1" && state("message") === "wireframe on"' \
  'eval:window.shown = later(200); true' \
  'wait:10:shown()' \
  "canvas:#canvas:$out/wireframe.png" \
  'eval:window.escaped = later(500); true' \
  'key:Escape' \
  'wait:10:document.pointerLockElement === null' \
  'wait:10:escaped()' \
  'eval:glacimorPage.state' \
  'key:Escape' \
  'wait:10:glacimorPage.state === "ended"' \
  "shot:$out/ended.png" >"$out/steps.txt" ||
  { echo "web-check: play failed; the page said:" >&2; tail -n 20 "$out/page.log" | sed 's/^/  /' >&2; exit 1; }

# The first Escape freed the pointer and left the game playing half a second of its frames later (a
# game ended by that Escape would have stopped its clock and told the page).
[ "$(tail -n 1 "$out/steps.txt")" = '"playing"' ] ||
  { echo "web-check: the first Escape did more than free the pointer: $(tail -n 1 "$out/steps.txt")" >&2; exit 1; }
# Filled, the floor, the walls and the figures cover the picture; in wireframe the black it is
# cleared to shows between the edges.
filled=$(node tools/web/pictures.mjs dark "$out/filled.png")
wire=$(node tools/web/pictures.mjs dark "$out/wireframe.png")
awk -v f="$filled" -v w="$wire" 'BEGIN { exit !(f < 5 && w > 60 && w < 99.5) }' ||
  { echo "web-check: F3 did not draw the edges alone: $filled % black filled, $wire % in wireframe" >&2; exit 1; }
echo "web-check: the six scenes are the desktop's; the page loaded $(sed -n 's/.*"total":\([0-9]*\).*/\1/p' "$out/steps.txt" | head -n 1)" \
  "bytes, the pointer and the sound started at a click, F1, W and 1 reached the game, F3 left $wire % black" \
  "($filled % filled), the second Escape ended it"
