#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# No key is lost to a moving mouse. SDL keeps a bounded number of events between two frames and
# drops the rest (128 in SDL 1.2, whose games lost keys after a second of mouse motion; 65,535 in
# SDL 2), so the game folds motion and holds keys itself (platform/events.h; the unit tests fill
# the game's own bound). Here the game is stopped (SIGSTOP), 1000 mouse motions arrive with keys
# among them, and the game goes on (SIGCONT): all of it arrives, in order, judged by the state the
# probe reads. The X server hands a backlog over as fast as the game reads it, which on a busy
# machine can take the game a few frames; a key is lost only if it never comes.
#   F1 inside the burst: god mode comes on, and "godmode on" is shown.
#   W held before the burst and released inside it (F2 right after): once F2 has come, the player
#   stands still.
#   Escape inside the burst: the game ends with status 0.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

# 500 motions there and back again: the view does not turn, the queue fills.
HALF_BURST=()
for _ in $(seq 1 250); do HALF_BURST+=(mousemove_relative -- 3 2 mousemove_relative -- -3 -2); done

stopped() { [ "$(awk '{ print $3 }' "/proc/$GAME_PID/stat" 2>/dev/null)" = T ]; }

# burst XDOTOOL-COMMANDS...: with the game stopped, 500 motions, the commands, 500 motions; the
# query at the end returns once the X server has handled them all, then the game goes on. Sets
# BURST_FRAME to the last frame drawn before it, read once the game has stopped: read before, a
# loaded machine may draw a frame or two between the reading and the stop, and the frame that was
# under way at the stop (its events already read) would pass for one after the burst.
burst() {
    kill -STOP "$GAME_PID"
    wait_until 5 "the game has not stopped on SIGSTOP" stopped
    BURST_FRAME=$(state frame)
    xdotool "${HALF_BURST[@]}" "$@" "${HALF_BURST[@]}" getmouselocation >/dev/null ||
        { kill -CONT "$GAME_PID"; fail "xdotool could not send the burst"; }
    kill -CONT "$GAME_PID"
}

# The player's position on the plateau, "X Z".
position() { state player | awk '{ print $1, $3 }'; }

start_xvfb
start_game
wait_for_window Glacimor 30
wait_for_first_frames 40
wait_state 30 "the first frames' message cleared" 'v["message"] == ""'

# --- F1 inside a burst: god mode on, "godmode on" on the message line. ---
burst key F1
wait_state 20 "god mode on from F1 inside the burst (lost?)" 'v["god"] == 1'
log "F1 in the burst: god mode on in frame $(state frame), the burst came in frame $BURST_FRAME"
# The message lives a second of game time, and the frame after the stop counts the stop too; on a
# very slow machine it may be gone already, which says nothing about the key.
if state_holds 'v["message"] == "godmode on"'; then
    snap_state godmode_on
    if state_holds 'v["message"] == "godmode on"'; then
        read -r left right <<<"$(message_extent "$SHOT")"
        log "F1 in the burst: 'godmode on' from x ${left:-?} to ${right:-?}"
        # Ten characters of 9.6 pixels from x 388, the last ending some 4 pixels short of its advance.
        [ -n "$right" ] && [ "$right" -ge 476 ] && [ "$right" -le 488 ] ||
            fail "F1 in the burst: no 'godmode on' on the message line ($SHOT)"
    fi
else
    log "F1 in the burst: god mode on; the message was gone already (frames of $(state frame_ms) ms)"
fi

# --- W held across a burst and released inside it: the player stands still afterwards. F2 right
# after the release tells when the game has read it (events arrive in their order). ---
from=$(position)
xdotool keydown w
wait_state 30 "the player walking on W" \
    "(split(v[\"player\"], p, \" \") && (p[1] - ${from% *}) ^ 2 + (p[3] - ${from#* }) ^ 2 >= 4)"
burst keyup w key F2
wait_state 20 "the FPS counter off from F2 after W's release inside the burst (lost?)" 'v["fpscounter"] == 0'
log "F2 after W's release in the burst: read in frame $(state frame), the burst came in frame $BURST_FRAME"
wait_frames 1
stood=$(position)
wait_game_time 1500 30
after=$(position)
log "W released inside the burst: the player at ($stood) after it, at ($after) 1.5 s of game time later"
[ "$stood" = "$after" ] || fail "the player still walks after W was released inside the burst: ($stood) -> ($after)"

# --- Escape inside a burst of 1000 motions ends the game. ---
start_ms=$(date +%s%3N)
burst key Escape
wait_exit 20 || fail "the game was still running 20 s after Escape inside the burst"
log "Escape in the burst: exit status $GAME_STATUS after $(( $(date +%s%3N) - start_ms )) ms"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Escape inside the burst, expected 0"
check_no_sanitizer_report
pass "F1, W with F2, and Escape among 1000 motions while the game stood still all arrive"
