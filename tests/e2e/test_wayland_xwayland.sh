#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# In a Wayland session through XWayland (headless weston, the game on SDL's X11 backend): the game
# opens full screen at the output's size with 4x multisampling, draws the scene behind its HUD,
# turns on relative mouse motion (past the edge too) and zooms on the wheel, shows F1's message,
# and Escape ends it with status 0. Input is X input through XWayland; pictures are weston's own.
source "$(dirname "$0")/../../tools/play/lib.sh"
source "$(dirname "$0")/lib_wayland.sh"
e2e_init "$@"
wayland_init weston weston-screenshooter Xwayland xdotool xprop

start_weston
start_wayland_game -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11
wait_for_window Glacimor 60

# Full screen on XWayland's screen, which is weston's output: weston maps the window where it likes
# and then makes it full screen, so the test waits for that.
full_screen() {
    WIDTH=0 HEIGHT=0 X=-1 Y=-1
    eval "$(xdotool getwindowgeometry --shell "$WID" 2>/dev/null)"
    STATE=$(xprop -id "$WID" _NET_WM_STATE)
    [ "$WIDTH" -eq "$SCREEN_W" ] && [ "$HEIGHT" -eq "$SCREEN_H" ] && [ "$X" -eq 0 ] && [ "$Y" -eq 0 ] &&
        [[ "$STATE" == *_NET_WM_STATE_FULLSCREEN* ]]
}
deadline=$(( $(date +%s) + 30 ))
until full_screen; do
    require_alive "while waiting for full screen"
    [ "$(date +%s)" -lt "$deadline" ] ||
        fail "expected a full-screen ${SCREEN_W}x${SCREEN_H} window at 0,0, got ${WIDTH}x${HEIGHT} at $X,$Y ($STATE)"
    sleep 0.2
done
log "window $WID: ${WIDTH}x${HEIGHT} at $X,$Y; $STATE"

judge_wayland_game
pass "full screen ${SCREEN_W}x${SCREEN_H} with 4 samples through XWayland; mouse, wheel, F1 and Escape work"
