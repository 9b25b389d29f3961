#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# SIGTERM and SIGINT end the game within a second whatever it is doing, judged by exit status and
# time. The game's own share is its grace of 750 ms for a frame under way (the unit tests hold it to
# that); on a loaded machine (make test-stress) the end of a sanitized process and this script's own
# polling took up to 9 s more, so the test allows 30 s and logs what it took. Without the handlers
# each case below never ends.
#   In start-up, with the X library reading an endless authority file (XAUTHORITY=/dev/zero): one
#     line naming the step, status 1. (The game used to take the signal as a quit request for a
#     frame loop it never reached: only SIGKILL ended it.)
#   In a frame that does not end (the probe holds it before its swap): status 0, nothing printed.
#     (The quit waited for the frame's end.)
#   In an ordinary frame, SIGINT: the frame under way is still finished and shown, then status 0.
#   In play, a SIGALRM not the game's (another program's or a library's alarm): it does what it does
#     to any program, the end by SIGALRM. (It was taken for the game's own timer: status 0.)
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

# stop NAME SIGNAL STATUS: sends SIGNAL, expects the game gone within 30 s with STATUS.
stop() {
    local sent
    sent=$(date +%s%3N)
    kill "-$2" "$GAME_PID"
    expect_exit "$1" "$3" 30
    log "$1: ended $(( $(date +%s%3N) - sent )) ms after $2"
}

reads_dev_zero() { ls -l "/proc/$GAME_PID/fd" 2>/dev/null | grep -q ' -> /dev/zero$'; }

start_xvfb

# --- Start-up that never ends ---
start_game env XAUTHORITY=/dev/zero "$GAME"
wait_until 30 "the game never opened its X authority file /dev/zero" reads_dev_zero
stop startup TERM 1
expect_lines startup "glacimor: stopped by SIGTERM while starting SDL and connecting to the display; the game did not start"

# --- A frame that never ends ---
start_game
wait_for_window Glacimor 60
wait_for_first_frames 60
hold_game
stop long_frame TERM 0
expect_lines long_frame

# --- An ordinary frame ---
start_game
wait_for_window Glacimor 60
wait_for_first_frames 60
before=$(state frame)
stop ordinary_frame INT 0
expect_lines ordinary_frame
[ "$(state frame)" -gt "$before" ] ||
    fail "ordinary_frame: the frame under way at SIGINT was not finished (last frame $(state frame), $before before it)"

# --- A stray SIGALRM ---
start_game
wait_for_window Glacimor 60
wait_for_first_frames 60
stop stray_alarm ALRM $((128 + 14))
expect_lines stray_alarm

pass "SIGTERM in start-up: its line, status 1; SIGTERM in an endless frame and SIGINT: status 0; a stray SIGALRM: its own end"
