#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# In a Wayland session as a native Wayland client (headless sway without XWayland, the game on
# SDL's Wayland backend, its GL context EGL's): the game starts, opens full screen at the output's
# size with 4x multisampling, draws the scene behind its HUD, turns on relative motion of a virtual
# mouse (past the edge too) and zooms on its wheel, shows F1's message, and Escape ends it with
# status 0. Mouse and keys come from a virtual mouse and keyboard, pictures from grim.
source "$(dirname "$0")/../../tools/play/lib.sh"
source "$(dirname "$0")/lib_wayland.sh"
e2e_init "$@"
wayland_init sway swaymsg grim jq

start_sway
start_virtual_input
start_wayland_game -u DISPLAY SDL_VIDEODRIVER=wayland

# The game's window in sway's tree: full screen, as large as the output.
wait_sway_window
[ "$VIEW" = "[1,$SCREEN_W,$SCREEN_H]" ] ||
    fail "expected a full-screen ${SCREEN_W}x${SCREEN_H} window, sway has [fullscreen_mode, width, height] = $VIEW"

judge_wayland_game
pass "starts natively; full screen ${SCREEN_W}x${SCREEN_H} with 4 samples; mouse, wheel, F1 and Escape work"
