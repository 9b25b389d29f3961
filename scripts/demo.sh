#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# A scripted minute of real play, recorded: the release game on a private 1280 x 720 virtual display
# with a window manager, driven by xdotool (god mode, zoom, walk, turn, stun, hit, wireframe for a
# moment), then without god mode left to the enemies until "GAME OVER". Writes screenshots (PNG) and an animated clip (demo.gif) into the
# output folder.
#   scripts/demo.sh <path-to-glacimor> <repo-root> <output-parent>   (pictures in <output-parent>/demo)
set -u
source "$(dirname "$0")/../tools/play/lib.sh"
e2e_init "$@"
SCREEN_W=1280
SCREEN_H=720
# The clip: one frame about every 0.4 s, shown at 0.25 s each, a little faster than played.
CLIP_SIZE=640x360
CLIP_DELAY=25

start_xvfb
start_game
wait_for_window Glacimor 30
# God mode for the first part, so that the player lives to show its attacks.
press F1
wait_for_first_frames 60

# A recorder in the background: numbered uncompressed frames until the game ends or we stop it.
mkdir -p "$OUT/frames"
(
    n=0
    while kill -0 "$GAME_PID" 2>/dev/null && [ ! -e "$OUT/frames/stop" ]; do
        import -window root "$OUT/frames/$(printf '%04d' "$n").bmp" 2>/dev/null
        n=$((n + 1))
        sleep 0.3
    done
) &
RECORDER=$!

# still NAME: a picture for the gallery, NAME.png at full size.
still() {
    snap "$1"
    convert "$SHOT" "$OUT/$1.png" && rm -f "$SHOT"
    log "still $1"
}

hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
turn() { local i; for i in $(seq 1 "$2"); do xdotool mousemove_relative -- "$1" 0; sleep 0.05; done; }

# The camera nearer (camera distance 180 / 1.2^4 = 87), then a look round the plateau: forward, a
# turn to the right, a little to the side.
for _ in 1 2 3 4; do xdotool click 4; sleep 0.1; done
sleep 1.5
still 01-start
hold w 1.5
turn 100 4
hold d 1
xdotool click 4
sleep 1
still 02-plateau
# The enemies come from the edges; wait until some are close, and look at them from nearer still.
sleep 5
for _ in 1 2; do xdotool click 4; sleep 0.1; done
sleep 1
still 03-enemies
# Stun burst (left button), then the hit burst (right button) five times: 125 hit points.
xdotool click 1
sleep 0.8
still 04-stunned
sleep 1
for _ in 1 2 3 4 5; do xdotool click 3; sleep 0.15; done
sleep 1.5
still 05-hits
# A moment of wireframe.
press F3
sleep 1.5
still 06-wireframe
press F3
sleep 1
# God mode off, the camera a little farther, and the enemies have their way.
press F1
for _ in 1 2 3 4; do xdotool click 5; sleep 0.1; done
over=""
for i in $(seq 1 90); do
    sleep 1
    snap waiting
    count_many "$SHOT" "$((SCREEN_W * 45 / 100))x$((SCREEN_H * 18 / 100))+$((SCREEN_W * 35 / 100))+$((SCREEN_H * 28 / 100))" "$WHITE"
    if [ "${COUNTS[0]}" -ge 800 ]; then
        over=1
        break
    fi
done
rm -f "$OUT/waiting.bmp"
[ -n "$over" ] || log "no game over within 90 s; the clip ends without it"
sleep 2
still 07-game-over
sleep 1.5
touch "$OUT/frames/stop"
wait "$RECORDER"

press Escape
wait_exit 30 || fail "the game did not end within 30 s of Escape"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Escape"

log "making the clip from $(ls "$OUT/frames" | grep -c bmp) frames"
convert -delay "$CLIP_DELAY" "$OUT"/frames/*.bmp -resize "$CLIP_SIZE" -fuzz 3% -layers Optimize \
    -loop 0 "$OUT/demo.gif"
rm -rf "$OUT/frames"
ls -l "$OUT"/*.png "$OUT/demo.gif"
log "demo done: pictures in $OUT"
