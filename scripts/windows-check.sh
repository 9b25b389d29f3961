#!/usr/bin/env bash
# Plays the Windows zip under Wine on a private virtual X display, as a Windows player would:
# unpack it, start glacimor.exe, see the scene, press F1 and see its message, quit with Escape,
# then start it again and quit with Alt+F4. Both runs must end with status 0.
#
#   scripts/windows-check.sh [BUILD_DIR]     (default build/windows; the zip is made by
#                                             scripts/windows-build.sh)
#
# Wine runs in a prefix of its own under BUILD_DIR/check, so nothing outside the build folder is
# used or changed. Screenshots and the game's output stay in BUILD_DIR/check/out.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${1:-build/windows}")
zip_file=$build/glacimor-windows.zip
check=$build/check
out=$check/out
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine || true)
export MAGICK_THREAD_LIMIT=1

SCREEN_W=800
SCREEN_H=600
T0=$(date +%s)

log() { printf '[windows-check %4ss] %s\n' "$(($(date +%s) - T0))" "$*"; }
fail() {
  echo "windows-check: FAIL: $*" >&2
  for f in "$out"/run*.stdout "$out"/run*.stderr; do
    [ -s "$f" ] && { echo "--- $(basename "$f") (last lines)" >&2; tail -n 15 "$f" >&2; }
  done
  echo "screenshots and logs: ${out#"$root"/}" >&2
  exit 1
}

[ -s "$zip_file" ] || fail "no $zip_file: run scripts/windows-build.sh (make windows) first"
[ -n "$wine" ] && [ -x "$wine" ] || fail "Wine is not installed (Debian's wine64)"
for tool in Xvfb xdotool xdpyinfo import convert compare unzip; do
  command -v "$tool" >/dev/null || fail "the tool '$tool' is not installed"
done

rm -rf "$out" "$check/game"
mkdir -p "$out" "$check/game"
unzip -q "$zip_file" -d "$check/game" || fail "the zip does not unpack"
game_dir=$check/game/glacimor
for f in glacimor.exe SDL.dll glew32.dll README.txt textures/wall.bmp shader/GM_shader.fs; do
  [ -s "$game_dir/$f" ] || fail "the zip has no glacimor/$f"
done
# The licences of the game and of its font travel with it.
for f in LICENSE.txt LICENSE-font.txt; do
  [ -s "$game_dir/$f" ] || fail "the zip has no glacimor/$f"
done

# --- Display and Wine -------------------------------------------------------------------------
source "$root/scripts/xvfb.sh"
GAME_PID=""
export WINEPREFIX=$check/wineprefix
export WINEDEBUG=-all
# No Mono or Gecko install prompts: the game needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  [ -n "$GAME_PID" ] && kill -KILL "$GAME_PID" 2>/dev/null
  # Ends what is left of this prefix's Windows processes (wineserver, explorer).
  [ -d "$WINEPREFIX" ] && wineserver_of_prefix -k 2>/dev/null
  xvfb_stop
}
wineserver_of_prefix() {
  local server
  server=$(dirname "$wine")/wineserver
  [ -x "$server" ] || server=$(command -v wineserver || echo true)
  "$server" "$@"
}
trap cleanup EXIT

xvfb_start "${SCREEN_W}x${SCREEN_H}x24" "$out" || fail "$XVFB_ERROR"
log "Xvfb on $DISPLAY (${SCREEN_W}x${SCREEN_H}), Wine: $("$wine" --version 2>/dev/null)"

if [ ! -e "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot --init >"$out/wineboot.log" 2>&1 || fail "wineboot failed (see $out/wineboot.log)"
  wineserver_of_prefix -w
  log "Wine prefix made in ${WINEPREFIX#"$root"/}"
fi

# --- Helpers ----------------------------------------------------------------------------------
# Starts the game from its folder as Explorer would, its output to the terminal-side files.
start_game() {
  local run=$1
  (cd "$game_dir" && SDL_STDIO_REDIRECT=0 exec "$wine" glacimor.exe) \
    >"$out/$run.stdout" 2>"$out/$run.stderr" &
  GAME_PID=$!
  local window=""
  for _ in $(seq 1 180); do
    window=$(xdotool search --onlyvisible --name '^Glacimor$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    kill -0 "$GAME_PID" 2>/dev/null || fail "$run: the game ended before its window opened"
    sleep 0.5
  done
  [ -n "$window" ] || fail "$run: no window called Glacimor within 90 s"
  log "$run: window $window open: $(xdotool getwindowgeometry "$window" | tr '\n' ' ')"
}

# Waits for the game to end; its exit status goes to STATUS.
STATUS=""
wait_game() {
  local run=$1
  for _ in $(seq 1 120); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.5
  done
  if kill -0 "$GAME_PID" 2>/dev/null; then
    fail "$run: the game still runs 60 s after it was asked to quit"
  fi
  STATUS=0
  wait "$GAME_PID" || STATUS=$?
  GAME_PID=""
}

shot() { import -window root "$out/$1.png" 2>/dev/null || fail "no screenshot $1"; }

# The HUD's message line: it starts at x 388 with its baseline at y 594 on the 800 x 600 screen.
MSG_AREA="200x22+380+578"
# White pixels of the message line in a screenshot.
msg_white() {
  convert "$out/$1.png" -crop "$MSG_AREA" +repage -fx '(r > 0.92 && g > 0.92 && b > 0.92) ? 1 : 0' \
    -format '%[fx:round(mean * w * h)]' info: || fail "cannot measure $1"
}

# scene_shown NAME: takes NAME and tells whether it shows the scene: neither black nor flat, and
# icy blue (the plateau has more blue than red on average). Sets MEAN, SPREAD, RED, BLUE.
scene_shown() {
  shot "$1"
  read -r MEAN SPREAD RED BLUE < <(convert "$out/$1.png" -format \
    '%[fx:mean] %[fx:standard_deviation] %[fx:mean.r] %[fx:mean.b]\n' info:)
  awk -v m="$MEAN" -v s="$SPREAD" -v r="$RED" -v b="$BLUE" 'BEGIN { exit !(m > 0.10 && s > 0.03 && b > r) }'
}

# wait_scene RUN: waits for the first frames through the software renderer, however slow, up to 120 s.
wait_scene() {
  local deadline=$(($(date +%s) + 120))
  until scene_shown scene; do
    [ "$(date +%s)" -ge "$deadline" ] &&
      fail "$1: no icy scene within 120 s (brightness $MEAN, spread $SPREAD, red $RED, blue $BLUE)"
    kill -0 "$GAME_PID" 2>/dev/null || fail "$1: the game ended before it showed the scene"
    sleep 0.5
  done
  log "$1: scene brightness $MEAN, spread $SPREAD"
}

# --- Run 1: the scene, F1, Escape -------------------------------------------------------------
start_game run1
wait_scene run1

# F1: "godmode on" on the message line for a second of game time. The key goes through the X
# server and Wine to the game, which reads it at its next frame and draws the message in the one
# after; under Wine on a busy machine that can be half a second or more. So the message line is
# watched until the message shows, for up to 30 s: a burst of pictures right after the key (as
# this check once took) can be over before the frame that shows it.
shot before_f1
before=$(msg_white before_f1)
xdotool key F1
deadline=$(($(date +%s) + 30))
n=0
best=0
while :; do
  n=$((n + 1))
  import -window root -crop "$MSG_AREA" +repage "$out/f1_line.png" 2>/dev/null || fail "no picture of the message line"
  w=$(convert "$out/f1_line.png" -fx '(r > 0.92 && g > 0.92 && b > 0.92) ? 1 : 0' \
    -format '%[fx:round(mean * w * h)]' info:) || fail "cannot measure the message line"
  [ "$w" -gt "$best" ] && best=$w && cp "$out/f1_line.png" "$out/f1_message.png"
  [ "$best" -ge $((before + 40)) ] && break
  [ "$(date +%s)" -ge "$deadline" ] && break
  kill -0 "$GAME_PID" 2>/dev/null || fail "run1: the game ended after F1"
done
log "run1: message line has $best white pixels after F1 ($before before, $n pictures)"
[ "$best" -ge $((before + 40)) ] || fail "run1: no message within 30 s of F1 ($best white pixels, $before before)"

xdotool key Escape
wait_game run1
log "run1: Escape ended the game with status $STATUS"
[ "$STATUS" = 0 ] || fail "run1: Escape ended the game with status $STATUS"

# --- Run 2: Alt+F4 ----------------------------------------------------------------------------
start_game run2
wait_scene run2
xdotool key alt+F4
wait_game run2
log "run2: Alt+F4 ended the game with status $STATUS"
[ "$STATUS" = 0 ] || fail "run2: Alt+F4 ended the game with status $STATUS"

log "passed in $(($(date +%s) - T0)) s"
echo "windows-check: the Windows zip plays under Wine"
