#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Plays the browser build in headless Chromium as a player would, judged by the page and by the
# game's state report, never by the picture: the page loads the whole data file, the game's frames
# run (its clock advances), a click captures the pointer and starts the sound, F1 turns god mode on
# with its message, W walks the player, the first Escape only frees the pointer and the second
# ends the game, and the page says so.
#
#   tools/web/page-check.sh [SITE_DIR]     (default build/web/site, as `make web` makes it;
#                                           the log and pictures go to SITE_DIR/../page-check)
set -euo pipefail
cd "$(dirname "$0")/../.."
site=$(realpath -m "${1:-build/web/site}")
out=$(dirname "$site")/page-check

for tool in node python3 /usr/lib/chromium/chromium; do
  command -v "$tool" >/dev/null || { echo "page-check: $tool is missing (nodejs, python3, chromium)" >&2; exit 1; }
done
[ -f "$site/index.html" ] && [ -f "$site/glacimor.wasm" ] || { echo "page-check: no build in $site (make web)" >&2; exit 1; }
rm -rf "$out" && mkdir -p "$out"

# A server on a free port of 127.0.0.1; it says which on its first line.
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$site" >"$out/http.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null' EXIT
port=
for _ in $(seq 100); do
  port=$(sed -n 's/^Serving HTTP on .* port \([0-9]*\).*/\1/p' "$out/http.log")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "page-check: the page server did not start: $(cat "$out/http.log")" >&2; exit 1; }

# state(KEY): the words after KEY on its line of the game's state report, written afresh.
helpers='window.state = (key) => {
  Module.ccall("glacimor_report_state", null, ["string"], ["/state"]);
  const line = FS.readFile("/state", { encoding: "utf8" }).split("\n").find((l) => l.startsWith(key + " "));
  return line === undefined ? "" : line.slice(key.length + 1);
}; window.startTicks = Number(state("ticks")); true'

node tools/web/cdp.mjs --log "$out/page.log" "http://127.0.0.1:$port/index.html" \
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
  'eval:window.escapeTicks = Number(state("ticks")); true' \
  'key:Escape' \
  'wait:10:document.pointerLockElement === null' \
  'wait:10:Number(state("ticks")) >= escapeTicks + 500' \
  'eval:glacimorPage.state' \
  'key:Escape' \
  'wait:10:glacimorPage.state === "ended"' \
  "shot:$out/ended.png" >"$out/steps.txt" ||
  { echo "page-check: failed; the page said:" >&2; tail -n 20 "$out/page.log" | sed 's/^/  /' >&2; exit 1; }

# The first Escape freed the pointer and left the game playing: half a second of its frames later
# (a game ended by that Escape would have stopped its clock and told the page).
[ "$(tail -n 1 "$out/steps.txt")" = '"playing"' ] ||
  { echo "page-check: the first Escape did more than free the pointer: $(tail -n 1 "$out/steps.txt")" >&2; exit 1; }
echo "page-check: the page loaded $(sed -n 's/.*"total":\([0-9]*\).*/\1/p' "$out/steps.txt" | head -n 1) bytes of data;" \
  "the frames ran, the pointer and the sound started at a click, F1 and W reached the game, the second Escape ended it"
