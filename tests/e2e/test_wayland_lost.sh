#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Playing natively on Wayland (headless sway without XWayland), the compositor dies: the game ends
# within a second with status 1 and the one line it says for any display it lost, and leaves no
# process behind. (SDL turns the broken connection into a request to quit, and the game used to end
# with status 0 and nothing said, as after Escape; Escape itself still ends it with 0, which
# test_wayland_native judges.) The test allows 20 s for a loaded machine and logs what it took.
source "$(dirname "$0")/../../tools/play/lib.sh"
source "$(dirname "$0")/lib_wayland.sh"
e2e_init "$@"
wayland_init sway grim

start_sway
start_wayland_game -u DISPLAY SDL_VIDEODRIVER=wayland
wait_state 90 "the game's first frames" 'v["frame"] >= 3'

# The compositor itself: the child of the bound that started it (see start_sway).
compositor=$(ps -o pid= --ppid "$WL_COMPOSITOR_PID" | tr -d ' ')
[ -n "$compositor" ] || fail "no compositor process under $WL_COMPOSITOR_PID"
killed_at=$(date +%s%3N)
kill -KILL "$compositor"
expect_exit compositor_killed 1 20
log "compositor_killed: ended $(( $(date +%s%3N) - killed_at )) ms after the compositor was killed"
expect_lines compositor_killed "glacimor: the connection to the display was lost"
! kill -0 "$GAME_PID" 2>/dev/null || fail "the game's process $GAME_PID is still there"
pass "the compositor killed: the one line, status 1"
