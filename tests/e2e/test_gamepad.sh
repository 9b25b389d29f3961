#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# A game controller plugged into the running game (SDL's virtual one, tools/play/pad.cpp): the left
# stick walks, the right stick turns half a turn a second of the game's clock, the right shoulder
# zooms in and the left one out, A stuns, the left trigger hits once however long it is held;
# pulled out while walking, the player stops and the game plays on; Escape on the keyboard ends it
# with status 0.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

PAD_HELPER=${GLACIMOR_PAD:-$(dirname "$GAME")/libglacimor_pad.so}
[ -f "$PAD_HELPER" ] || fail "no virtual controller at $PAD_HELPER (tools/play/pad.cpp)"
PLAY_PRELOAD=$PAD_HELPER
export GLACIMOR_PAD_COMMANDS="$OUT/pad.commands"
: >"$GLACIMOR_PAD_COMMANDS"
PAD_SENT=0

# pad LINE: hands one line to the controller and waits for a frame to have carried it out.
pad() {
    echo "$1" >>"$GLACIMOR_PAD_COMMANDS"
    PAD_SENT=$((PAD_SENT + 1))
    wait_until 60 "the controller has not carried out '$1'" pad_caught_up
}
pad_caught_up() {
    require_alive "while the controller plays"
    [ "$(cat "$GLACIMOR_PAD_COMMANDS.done" 2>/dev/null || echo 0)" -ge "$PAD_SENT" ]
}

# position: "X Z" of the player; heading: its angle in degrees about the vertical, 0 toward -z;
# heading_at: "HEADING TICKS LONGEST_FRAME_MS", all three of one frame.
position() { state player | awk '{ print $1, $3 }'; }
heading() { state player_dir | awk '{ printf "%.4f\n", atan2($1, -$3) * 57.29578 }'; }
heading_at() {
    awk '$1 == "player_dir" { h = atan2($2, -$4) * 57.29578 } $1 == "ticks" { t = $2 }
         $1 == "longest_frame_ms" { l = $2 } END { printf "%.4f %d %s\n", h, t, l }' "$STATE_FILE"
}
turned_from() { require_alive "while turning"; [ "$(heading)" != "$1" ]; }
# moved_from X Z UNITS: the player stands more than UNITS from (X, Z).
moved_from() {
    require_alive "while walking"
    position | awk -v x="$1" -v z="$2" -v u="$3" '{ exit !(($1 - x) ^ 2 + ($2 - z) ^ 2 > u * u) }'
}

# wait_still WHAT COMMAND: waits until COMMAND's output is the same over three frames.
wait_still() {
    local what=$1 before deadline
    deadline=$(( $(date +%s%3N) + 60000 ))
    while :; do
        before=$($2)
        wait_frames 3
        [ "$($2)" = "$before" ] && return 0
        [ "$(date +%s%3N)" -ge "$deadline" ] && fail "$what: still changing after 60 s ($before, then $($2))"
    done
}

# enemies_where AWK_CONDITION: how many enemies of the state satisfy the condition, over
# "enemy X Y Z HP STATE SX SY SR DIST" ($5 hit points, $6 state, $10 distance to the player).
enemies_where() { awk '$1 == "enemy" && ('"$1"') { n++ } END { print n + 0 }' "$STATE_FILE"; }
some_enemies() { require_alive "waiting for enemies"; [ "$(enemies_where "$1")" -ge 1 ]; }

start_xvfb
start_game
wait_for_window Glacimor 30
wait_state 40 "first frame" 'v["frame"] >= 1'
key_to F1 god 1
pad attach

# Walk: the stick forward, then back to the centre.
read -r x0 z0 <<<"$(position)"
read -r dx _ dz <<<"$(state player_dir)"
pad "axis lefty -32767"
wait_until 60 "the player walking 10 units on the stick" moved_from "$x0" "$z0" 10
pad "axis lefty 0"
wait_still "the player after the stick came back" position
read -r x1 z1 <<<"$(position)"
log "walked from ($x0, $z0) to ($x1, $z1), heading ($dx, $dz)"
# Straight ahead: along the heading, nothing sideways.
awk -v a="$x1" -v b="$z1" -v x0="$x0" -v z0="$z0" -v dx="$dx" -v dz="$dz" 'BEGIN {
        mx = a - x0; mz = b - z0; exit !(mx * dx + mz * dz > 9 && (mx * dz - mz * dx) ^ 2 < 0.01) }' ||
    fail "the stick forward did not walk straight ahead (from ($x0, $z0) to ($x1, $z1), heading ($dx, $dz))"

# Turn: from a frame that read the stick to the first a quarter of a second of game time later,
# the player turns 180 degrees per second of the game's clock, at whatever rate the frames come
# (each frame turns by its own length; unless a frame of over a second came between, it can be judged).
h0=$(heading)
pad "axis rightx 32767"
wait_until 60 "the player turning on the right stick" turned_from "$h0"
read -r ha ta _ <<<"$(heading_at)"
wait_state 60 "a quarter of a second of turning" "v[\"ticks\"] >= $ta + 250"
read -r hb tb longest <<<"$(heading_at)"
pad "axis rightx 0"
wait_still "the heading after the right stick came back" heading
turned=$(awk -v a="$ha" -v b="$hb" 'BEGIN { d = b - a; while (d < 0) d += 360; printf "%.2f", d }')
expected=$(awk -v a="$ta" -v b="$tb" 'BEGIN { printf "%.2f", 180 * (b - a) / 1000 }')
log "turned $turned degrees in $((tb - ta)) ms of game time (expected $expected; longest frame $longest ms)"
if [ $((tb - ta)) -gt 1000 ]; then
    log "a frame of more than a second may have come between, which turns no further than one of a second: the rate is not judged"
else
    awk -v t="$turned" -v e="$expected" 'BEGIN { exit !(t > e - 0.5 && t < e + 0.5) }' ||
        fail "the right stick turned $turned degrees where the game's clock says $expected"
fi

# Zoom: one notch in on the right shoulder, one out on the left.
pad "button rightshoulder 1"
wait_state 30 "the camera a notch nearer" '(split(v["player"], p, " ") && p[6] == "150.00")'
pad "button rightshoulder 0"
pad "button leftshoulder 1"
wait_state 30 "the camera a notch farther" '(split(v["player"], p, " ") && p[6] == "180.00")'
pad "button leftshoulder 0"

# Stun and hit, once the first enemies stand round the player (some 12 s after the start).
wait_until 90 "no enemy came within 7 units of the player" some_enemies '$10 < 7 && $6 == 1'
pad "button a 1"
wait_until 30 "no enemy stunned after A" some_enemies '$6 == 0'
pad "button a 0"
pad "axis lefttrigger 32767"
wait_until 30 "no enemy hit after the left trigger" some_enemies '$5 <= 75'
wait_frames 5
[ "$(enemies_where '$5 < 75')" -eq 0 ] || fail "the left trigger held hit more than once: $(enemies_where '$5 < 75') enemies below 75"
pad "axis lefttrigger -32768"

# Pulled out while it walks the player: the walk stops, the game goes on.
read -r x1 z1 <<<"$(position)"
pad "axis lefty -32767"
wait_until 30 "the player walking again on the stick" moved_from "$x1" "$z1" 2
pad detach
wait_still "the player after the controller was pulled out" position
wait_frames 10
require_alive "after the controller was pulled out"

press Escape
wait_exit 30 || fail "the game did not end within 30 s of Escape"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Escape, expected 0"
check_no_sanitizer_report
! grep -q '^glacimor pad: ' "$OUT/game.stderr" || fail "the virtual controller failed: $(grep '^glacimor pad: ' "$OUT/game.stderr" | head -n 1)"
pass "walked, turned, zoomed, stunned and hit with a controller, pulled it out, and quit from the keyboard"
