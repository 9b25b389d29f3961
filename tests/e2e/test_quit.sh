#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Leaving the game: Escape ends it with status 0 within a few seconds; the window's close request
# (WM_DELETE_WINDOW, sent by the window manager on `wmctrl -c`) does the same. The F key switches
# between full screen and a window, both ways, and the game goes on drawing the same view.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

start_xvfb

fullscreen_state() {
    xprop -id "$WID" _NET_WM_STATE 2>/dev/null | grep -c _NET_WM_STATE_FULLSCREEN
}

# --- First run: F twice, then Escape. ---
start_game
wait_for_window Glacimor 30
wait_for_first_frames 40
[ "$(fullscreen_state)" -eq 1 ] || fail "the window does not start full screen: $(xprop -id "$WID" _NET_WM_STATE)"

windowed() { [ "$(fullscreen_state)" -eq 0 ]; }
fullscreen() { [ "$(fullscreen_state)" -eq 1 ]; }

# The view before F, twice: what the picture does without input (falling snow, far enemies).
wait_frames 2
screenshot fullscreen_1
wait_game_time 1500
screenshot fullscreen_2

press f
wait_until 30 "F left the window full screen: $(xprop -id "$WID" _NET_WM_STATE)" windowed
require_alive "after the first F"
# Out of full screen the window keeps the mode's size (not a 1 x 1 pixel window).
eval "$(xdotool getwindowgeometry --shell "$WID")"
[ "$WIDTH" -eq "$SCREEN_W" ] && [ "$HEIGHT" -eq "$SCREEN_H" ] ||
    fail "after F the window is ${WIDTH}x${HEIGHT}, expected ${SCREEN_W}x${SCREEN_H}"
wait_frames 2
screenshot windowed_1
wait_game_time 1500
screenshot windowed_2
# Still drawing: the scene is not uniform, and it moves (snow, enemies, the seconds counter).
fgt "$(stddev "$SHOT")" 0.05 || fail "after F the screen is nearly uniform"
changed=$(count_changed "$OUT/windowed_1.png" "$OUT/windowed_2.png")
log "windowed: $changed pixels changed in 1.5 s of game time"
[ "$changed" -ge 50 ] || fail "after F the picture stopped changing ($changed pixels in 1.5 s of game time)"
# Out of full screen the game draws the same view at the same size and shape as before: it keeps
# the aspect of its start. A view stretched or squeezed, or drawn into a part of the window, moves
# the walls and the floor's edges far more than the snow moves in the same time. The window is
# where the window manager put it (below its title bar; xwininfo tells its place on the screen),
# and what it shows is compared.
read -r left top <<<"$(xwininfo -id "$WID" |
    awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF } END { print x, y }')"
convert "$OUT/windowed_1.png" -crop "${WIDTH}x${HEIGHT}+${left}+${top}" +repage "$OUT/windowed_1_view.png"
VIEW="800x500+0+25" # the scene without the HUD's top line, above the screen's lower edge
still=$(coarse_change "$OUT/fullscreen_1.png" "$OUT/fullscreen_2.png" "$VIEW")
toggled=$(coarse_change "$OUT/fullscreen_2.png" "$OUT/windowed_1_view.png" "$VIEW")
log "view change: $toggled over F (the window at $left,$top), $still in 1.5 s of full screen without input"
fgt "$(awk -v s="$still" 'BEGIN { v = 3 * s; if (v < 0.01) v = 0.01; print v }')" "$toggled" ||
    fail "after F the view is not the one before it ($toggled, without input $still)"

press f
wait_until 30 "the second F did not bring full screen back: $(xprop -id "$WID" _NET_WM_STATE)" fullscreen
require_alive "after the second F"
wait_frames 2
screenshot fullscreen_again
fgt "$(stddev "$SHOT")" 0.05 || fail "back in full screen the screen is nearly uniform"
[ "$(count_pixels "$SHOT" "$HUD_TEXT1" "$YELLOW")" -ge 30 ] || fail "back in full screen the FPS line is missing"

# How long the exit takes is logged, not judged: on a busy machine the key's way through the X
# server alone can take longer than any bound tuned to one machine. It must come within 20 s.
start_ms=$(date +%s%3N)
start_frame=$(state frame)
press Escape
wait_exit 20 || fail "the game was still running 20 s after Escape"
escape_ms=$(( $(date +%s%3N) - start_ms ))
escape_frames=$(( $(state frame) - start_frame ))
log "Escape: exit status $GAME_STATUS after $escape_ms ms and $escape_frames more frames"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Escape, expected 0"
check_no_sanitizer_report
mv "$OUT/game.stderr" "$OUT/game1.stderr"

# --- Second run: the window manager's close request. ---
start_game
wait_for_window Glacimor 30
wait_for_first_frames 40
start_ms=$(date +%s%3N)
start_frame=$(state frame)
# wmctrl asks the window manager (_NET_CLOSE_WINDOW), which sends the window WM_DELETE_WINDOW,
# as the close button of a title bar does; SDL turns that into its quit event.
wmctrl -c Glacimor || fail "wmctrl found no window named Glacimor"
wait_exit 20 || fail "the game was still running 20 s after the close request"
close_ms=$(( $(date +%s%3N) - start_ms ))
close_frames=$(( $(state frame) - start_frame ))
log "close request: exit status $GAME_STATUS after $close_ms ms and $close_frames more frames"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after the close request, expected 0"
check_no_sanitizer_report
pass "Escape ended the game in $escape_ms ms, the close request in $close_ms ms, F toggles both ways"
