#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The keys a player holds: a key held down is one press, however long it is held (the X server's
# own auto-repeat and a repeated press of the held key change nothing), and A, S and D walk the
# player left, back and right of where it looks, as the probe's position and heading tell.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

start_xvfb
start_game
wait_for_window Glacimor 30
wait_for_first_frames 40
wait_state 30 "the first frames' message cleared" 'v["message"] == ""'

# --- F1 held: god mode comes on once, and its message goes away after its second while the key is
# still down. Each repeat taken as a press would flip god mode again and show its message anew. ---
xdotool keydown F1
wait_state 30 "god mode on while F1 is held" 'v["god"] == 1 && v["message"] == "godmode on"'
# A second press of the held key, as a keyboard's own repeat sends it, besides the server's.
xdotool keydown F1
wait_state 30 "the message gone while F1 is still held" 'v["message"] == ""'
held=$(state god)
xdotool keyup F1
wait_frames 2
log "F1 held past its message: god mode $held while held, $(state god) after the release"
[ "$held" = 1 ] && state_holds 'v["god"] == 1' ||
    fail "F1 held down toggled god mode more than once (god $held while held, $(state god) after)"

# --- A, S, D: held until the player has walked 3 units, in the direction the key names. ---
# walk_with KEY NAME EXPECTED: EXPECTED is an awk condition on the walk's components along the
# heading (f) and to the right of it (r), as shares of its length.
walk_with() {
    local key=$1 name=$2 expected=$3 x z dx dz
    read -r x _ z _ <<<"$(state player)"
    read -r dx _ dz <<<"$(state player_dir)"
    xdotool keydown "$key"
    wait_state 30 "the player walking 3 units with $key held" \
        "(split(v[\"player\"], p, \" \") && (p[1] - $x) ^ 2 + (p[3] - $z) ^ 2 >= 9)"
    xdotool keyup "$key"
    wait_frames 2
    read -r nx _ nz _ <<<"$(state player)"
    local parts
    # Right of the heading (dx, dz) is (-dz, dx): an unturned player faces -z, with +x on its right.
    parts=$(awk -v x="$x" -v z="$z" -v nx="$nx" -v nz="$nz" -v dx="$dx" -v dz="$dz" 'BEGIN {
        mx = nx - x; mz = nz - z; l = sqrt(mx * mx + mz * mz)
        printf "%.2f %.2f", (mx * dx + mz * dz) / l, (-mx * dz + mz * dx) / l }')
    log "$key: walked from ($x, $z) to ($nx, $nz), heading ($dx, $dz): forward share and right share $parts"
    awk -v parts="$parts" 'BEGIN { split(parts, s, " "); f = s[1]; r = s[2]; exit !('"$expected"') }' ||
        fail "$key did not walk the player $name (forward and right shares $parts)"
}
walk_with a left 'r < -0.95 && f > -0.3 && f < 0.3'
walk_with s back 'f < -0.95 && r > -0.3 && r < 0.3'
walk_with d right 'r > 0.95 && f > -0.3 && f < 0.3'

press Escape
wait_exit 30 || fail "the game did not end within 30 s of Escape"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Escape, expected 0"
check_no_sanitizer_report
pass "a held key is one press; A, S and D walk left, back and right"
