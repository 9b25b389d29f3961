#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The display taken from the game (a desktop that crashes, a logout, a remote session dropped, a
# window manager's force-close) ends it within a second with one line and status 1, and leaves no
# process behind. (The X library used to print its own line and call exit, whose SDL_Quit then
# waited on the dead connection for ever at up to a whole core, unseen: each case below never
# ended.) The game's share is a second; the test allows 20 s for a loaded machine and logs what
# it took.
#   In play, the X server killed: "the connection to the display was lost".
#   In play, the game's connection killed by the server (XKillClient, `xdotool windowkill`): the same.
#   In start-up (held by the probe once connected, the server killed meanwhile): the same, naming
#     the step that met the dead connection, as every start-up line does.
#   A display that refuses the game (its X authority missing): one line that says so and names the
#     display, instead of "no display found" and the X library's own words beside it.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

LOST="glacimor: the connection to the display was lost"

# lost NAME HOW: waits (20 s) for the game to end with status 1 after the display was taken away
# (HOW, at TAKEN_AT), checks that its process is gone, and logs the time it took.
lost() {
    expect_exit "$1" 1 20
    ! kill -0 "$GAME_PID" 2>/dev/null || fail "$1: the game's process $GAME_PID is still there"
    log "$1: ended $(( $(date +%s%3N) - TAKEN_AT )) ms after $2"
}

# kill_display: the X server (and with it the window manager) dies at once.
kill_display() {
    TAKEN_AT=$(date +%s%3N)
    kill -KILL "$XVFB_PID"
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
    wm_stop
}

playing() {
    start_game
    wait_for_window Glacimor 60
    wait_for_first_frames 60
}

# --- In play, the X server killed ---
start_xvfb
playing
kill_display
lost server_killed "the X server was killed"
expect_lines server_killed "$LOST"

# --- In play, the connection killed ---
start_xvfb
playing
TAKEN_AT=$(date +%s%3N)
xdotool windowkill "$WID" || fail "xdotool could not kill the game's connection"
lost connection_killed "XKillClient"
expect_lines connection_killed "$LOST"

# --- In start-up, the X server killed ---
: >"$OUT/hold_start"
start_game env GLACIMOR_PROBE_HOLD_START="$OUT/hold_start" "$GAME"
wait_until 60 "the game did not hold once connected to the display" test -e "$OUT/hold_start.held"
kill_display
rm -f "$OUT/hold_start"
lost startup "the X server was killed"
expect_lines startup "$LOST while opening the window and its OpenGL context; the game cannot start"

# --- A display that refuses the game ---
# A server that asks for the cookie in its authority file; the game is given none.
COOKIE=$(mcookie)
xauth -q -f "$OUT/xauthority" add :0 . "$COOKIE" || fail "could not make an X authority file"
Xvfb -displayfd 3 -auth "$OUT/xauthority" -screen 0 320x200x24 -nolisten tcp 3>"$OUT/refusing.display" \
    >"$OUT/refusing.log" 2>&1 &
XVFB_PID=$!
wait_until 10 "the refusing X server gave no display number" test -s "$OUT/refusing.display"
REFUSING=":$(tr -dc '0-9' <"$OUT/refusing.display")"
xauth -q -f "$OUT/xauthority" add "$REFUSING" . "$COOKIE" || fail "could not add $REFUSING to the X authority file"
wait_until 10 "the refusing X server $REFUSING did not answer its own user" \
    env XAUTHORITY="$OUT/xauthority" DISPLAY="$REFUSING" xdpyinfo >/dev/null 2>&1
start_game env DISPLAY="$REFUSING" XAUTHORITY="$OUT/no-such-authority" "$GAME"
expect_exit refused 1 30
expect_line_matching refused "glacimor: SDL_Init failed: the display $REFUSING refused the connection: Authorization required.*"

pass "display lost in play, connection killed, lost in start-up: one line, status 1; a refusal named"
