#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Plays the Windows zip under Wine on a private virtual X display, as a Windows player would:
# unpack it, start glacimor.exe, see the scene, press F1 and see its message, quit with Escape,
# then start it again and quit with Alt+F4. Both runs must end with status 0. A third start, as
# Explorer starts it, from a folder without the data, must leave its message in stderr.txt.
#
#   scripts/windows-check.sh [BUILD_DIR]     (default build/windows; the zip is made by
#                                             scripts/windows-build.sh)
#
# Wine runs in a prefix of its own under BUILD_DIR/check, so nothing outside the build folder is
# used or changed. Screenshots and the game's output stay in BUILD_DIR/check/windows-check. The
# display, the game and the pictures are the helpers of tools/play/lib.sh.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${1:-build/windows}")
zip_file=$build/glacimor-windows.zip
check=$build/check
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine || true)

[ -s "$zip_file" ] || { echo "windows-check: no $zip_file: run scripts/windows-build.sh (make windows) first" >&2; exit 1; }
[ -n "$wine" ] && [ -x "$wine" ] || { echo "windows-check: Wine is not installed (Debian's wine64)" >&2; exit 1; }
command -v unzip >/dev/null || { echo "windows-check: the tool 'unzip' is not installed" >&2; exit 1; }

rm -rf "$check/game"
mkdir -p "$check/game"
unzip -q "$zip_file" -d "$check/game" || { echo "windows-check: the zip does not unpack" >&2; exit 1; }
game_dir=$check/game/glacimor

# Playing the game from a script: a private display, the game started and waited for, pictures,
# its exit status (tools/play/lib.sh); screenshots and the game's output go to BUILD_DIR/check/out.
source "$root/tools/play/lib.sh"
e2e_init "$game_dir/glacimor.exe" "$root" "$check"
for f in glacimor.exe SDL2.dll glew32.dll README.txt textures/wall.bmp shader/GM_shader.fs; do
  [ -s "$game_dir/$f" ] || fail "the zip has no glacimor/$f"
done
[ ! -e "$game_dir/SDL.dll" ] || fail "the zip still holds SDL 1.2's SDL.dll"
# The licences of the game and of its font travel with it.
for f in LICENSE.txt LICENSE-font.txt; do
  [ -s "$game_dir/$f" ] || fail "the zip has no glacimor/$f"
done

# --- Display and Wine -------------------------------------------------------------------------
export WINEPREFIX=$check/wineprefix
export WINEDEBUG=-all
# No Mono or Gecko install prompts: the game needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
wineserver_of_prefix() {
  local server
  server=$(dirname "$wine")/wineserver
  [ -x "$server" ] || server=$(command -v wineserver || echo true)
  "$server" "$@"
}
# Ends what is left of this prefix's Windows processes (wineserver, explorer), then the game and
# the display.
trap '[ -d "$WINEPREFIX" ] && wineserver_of_prefix -k 2>/dev/null; e2e_cleanup' EXIT

start_xvfb --no-window-manager
log "Wine: $("$wine" --version 2>/dev/null)"
if [ ! -e "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot --init >"$OUT/wineboot.log" 2>&1 || fail "wineboot failed (see $OUT/wineboot.log)"
  wineserver_of_prefix -w
  log "Wine prefix made in ${WINEPREFIX#"$root"/}"
fi

# --- Helpers ----------------------------------------------------------------------------------
# run_game RUN: starts the game from its folder as Explorer would, and waits for its window.
run_game() {
  GAME_DIR=$game_dir start_game "$wine" glacimor.exe
  wait_for_window Glacimor 90 --onlyvisible
  log "$1: window $WID open: $(xdotool getwindowgeometry "$WID" | tr '\n' ' ')"
}

# ended RUN HOW: waits for the game to end after HOW, and fails unless it ended with status 0; its
# output is kept as RUN.stdout and RUN.stderr.
ended() {
  wait_exit 60 || fail "$1: the game still runs 60 s after $2"
  cp "$OUT/game.stdout" "$OUT/$1.stdout"
  cp "$OUT/game.stderr" "$OUT/$1.stderr"
  log "$1: $2 ended the game with status $GAME_STATUS"
  [ "$GAME_STATUS" = 0 ] || fail "$1: $2 ended the game with status $GAME_STATUS"
}

# The HUD's message line: it starts at x 388 with its baseline at y 594 on the 800 x 600 screen.
MSG_AREA=$HUD_TEXT3

# scene_shown NAME: takes NAME and tells whether it shows the scene: neither black nor flat, and
# icy blue (the plateau has more blue than red on average). Sets MEAN, SPREAD, RED, BLUE.
scene_shown() {
  screenshot "$1"
  read -r MEAN SPREAD RED BLUE < <(convert "$SHOT" -format \
    '%[fx:mean] %[fx:standard_deviation] %[fx:mean.r] %[fx:mean.b]\n' info:)
  awk -v m="$MEAN" -v s="$SPREAD" -v r="$RED" -v b="$BLUE" 'BEGIN { exit !(m > 0.10 && s > 0.03 && b > r) }'
}

# wait_scene RUN: waits for the first frames through the software renderer, however slow, up to 120 s.
wait_scene() {
  local deadline=$(($(date +%s) + 120))
  until scene_shown scene; do
    [ "$(date +%s)" -ge "$deadline" ] &&
      fail "$1: no icy scene within 120 s (brightness $MEAN, spread $SPREAD, red $RED, blue $BLUE)"
    sleep 0.5
  done
  log "$1: scene brightness $MEAN, spread $SPREAD"
}

# --- Run 1: the scene, F1, Escape -------------------------------------------------------------
run_game run1
wait_scene run1

# F1: "godmode on" on the message line for a second of game time. The key goes through the X
# server and Wine to the game, which reads it at its next frame and draws the message in the one
# after; under Wine on a busy machine that can be half a second or more. So the message line is
# watched until the message shows, for up to 30 s: a burst of pictures right after the key (as
# this check once took) can be over before the frame that shows it.
screenshot before_f1
before=$(count_pixels "$SHOT" "$MSG_AREA" "$WHITE")
press F1
deadline=$(($(date +%s) + 30))
n=0
best=0
while :; do
  n=$((n + 1))
  require_alive "run1: after F1"
  import -window root -crop "$MSG_AREA" +repage "$OUT/f1_line.png" 2>/dev/null || fail "no picture of the message line"
  w=$(count_pixels "$OUT/f1_line.png" "${MSG_AREA%%+*}+0+0" "$WHITE") || fail "cannot measure the message line"
  [ "$w" -gt "$best" ] && best=$w && cp "$OUT/f1_line.png" "$OUT/f1_message.png"
  [ "$best" -ge $((before + 40)) ] && break
  [ "$(date +%s)" -ge "$deadline" ] && break
done
log "run1: message line has $best white pixels after F1 ($before before, $n pictures)"
[ "$best" -ge $((before + 40)) ] || fail "run1: no message within 30 s of F1 ($best white pixels, $before before)"

press Escape
ended run1 Escape

# --- Run 2: Alt+F4 ----------------------------------------------------------------------------
run_game run2
wait_scene run2
xdotool key alt+F4
ended run2 Alt+F4

# --- Run 3: started as Explorer starts it, without its data --------------------------------------
# A window program started from Explorer has no standard error: the game's message goes to
# stderr.txt beside the program, and the empty stdout.txt is removed. Wine's start.exe starts it
# so, in the program's folder; this copy of the folder lacks textures\ and shader\.
bare=$check/bare
rm -rf "$bare" && mkdir -p "$bare"
cp "$game_dir"/glacimor.exe "$game_dir"/*.dll "$bare/"
status=0
"$wine" start /wait /unix "$bare/glacimor.exe" </dev/null >"$OUT/run3.stdout" 2>"$OUT/run3.stderr" || status=$?
log "run3: without its data folders the game ended with status $status; stderr.txt: $(cat "$bare/stderr.txt" 2>/dev/null)"
[ "$status" = 1 ] || fail "run3: without its data folders the game ended with status $status, expected 1"
grep -q '^glacimor: no game data in ' "$bare/stderr.txt" 2>/dev/null ||
  fail "run3: no message in stderr.txt beside the program ($(ls "$bare"))"
[ ! -e "$bare/stdout.txt" ] || fail "run3: the empty stdout.txt was left beside the program"

log "passed"
echo "windows-check: the Windows zip plays under Wine"
