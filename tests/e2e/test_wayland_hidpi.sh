#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# On a desktop scaled by 2 (headless sway with its output at scale 2, the game a native Wayland
# client): the window is full screen at the output's logical size, half its pixels each way, and
# the game draws at the output's full pixel size, not at the window's size blown up: the viewport
# of its GL context is twice the window's size, and the output's picture shows the scene with the
# HUD at its corners. Escape ends it with status 0.
source "$(dirname "$0")/../../tools/play/lib.sh"
source "$(dirname "$0")/lib_wayland.sh"
e2e_init "$@"
wayland_init sway swaymsg grim jq

WL_SCALE=2
start_sway
start_virtual_input
start_wayland_game -u DISPLAY SDL_VIDEODRIVER=wayland

wait_sway_window
logical_w=$((SCREEN_W / WL_SCALE))
logical_h=$((SCREEN_H / WL_SCALE))
[ "$VIEW" = "[1,$logical_w,$logical_h]" ] ||
    fail "expected a full-screen window of ${logical_w}x${logical_h} (the output's logical size), sway has [fullscreen_mode, width, height] = $VIEW"

# grim takes the output at its pixel size, where the HUD's lines stand as at scale 1.
wait_for_first_frames 90 wl_shot "$WL_FPS_LINE"
# The viewport, read back from the game's context: the output's pixels, twice the window's size.
judge_gl_facts
wait_frames 3
wl_shot scene
judge_scene "$SHOT"
judge_escape
pass "a ${logical_w}x${logical_h} window at scale 2 draws ${SCREEN_W}x${SCREEN_H} pixels with 4 samples, and shows the scene"
