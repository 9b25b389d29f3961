#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Playing: the wheel brings the camera nearer and farther, and the player's figure grows and
# shrinks where the camera puts it; enemies appear and walk; holding W walks the player forward,
# moving the mouse turns it. Each input must change the view much more than the same stretch of
# game without input does (falling snow and walking enemies alone).
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

SCENE="800x550+0+25"            # the picture without the HUD's top and bottom lines

start_xvfb
start_game
wait_for_window Glacimor 30
wait_for_first_frames 40
# God mode: the player must stay alive, a dead player neither walks nor turns.
key_to F1 god 1

# face_box STATE: "GEOM SIDE ABOVE": a square of the screen inside the player's back, the green side
# that the camera behind the player sees, 0.6 units each way round its middle where the probe puts
# it (SR pixels a unit there), and a strip above the back, 1.25 to 1.8 units over its middle, where
# the top of the cube and what lies beyond it show when the figure has the size the camera gives
# it. Enemies do not make either ambiguous unless they crowd it: one beside the player adds no
# green there, one beyond it shows its red front, one before it shows its own green back (or
# another side, and the square is then not green).
face_box() {
    awk '$1 == "player_back" {
             h = int(0.6 * $4 + 0.5); if (h < 2) h = 2
             a = int(1.25 * $4 + 0.5); b = int(1.8 * $4 + 0.5); if (b < a + 2) b = a + 2
             printf "%dx%d+%d+%d %d %dx%d+%d+%d\n", 2 * h, 2 * h, $2 - h, $3 - h, 2 * h, 2 * h, b - a, $2 - h, $3 - b
         }' "$1"
}

# walk_ahead UNITS: holds W until the player has walked UNITS units from where it stands (as the
# probe tells), then lets go and waits for two frames drawn after.
walk_ahead() {
    local x z
    read -r x _ z _ <<<"$(state player)"
    xdotool keydown w
    wait_state 30 "the player walking $1 units with W held" \
        "(split(v[\"player\"], p, \" \") && (p[1] - $x) ^ 2 + (p[3] - $z) ^ 2 >= $1 ^ 2)"
    xdotool keyup w
    wait_frames 2
}

# clear_way: five hit bursts kill the enemies crowding the player (within 8 units), then the player
# turns a quarter right and walks 30 units on, leaving the dead behind it, between it and the
# camera and lower in the view. Four such walks trace a square round the middle of the plateau.
clear_way() {
    xdotool click --repeat 5 --delay 100 3
    wait_frames 3
    xdotool mousemove_relative -- 600 0
    wait_frames 2
    walk_ahead 30
}

# zoom NAME BUTTON COUNT DISTANCE: COUNT notches of the wheel, waits for the frame drawn with the
# camera at DISTANCE, takes NAME and measures the green in the square of the player's back and in
# the strip above it: sets GREEN (pixels in the square), FILL (its percent of the square) and
# ABOVE (percent of the strip).
zoom() {
    local i box side above
    for i in $(seq 1 "$3"); do xdotool click "$2"; done
    wait_state 30 "camera at distance $4 after the wheel" "(split(v[\"player\"], p, \" \") && p[6] == \"$4\")"
    snap_state "$1"
    read -r box side above <<<"$(face_box "$OUT/$1.state")"
    green_mask "$OUT/$1.bmp" "$box" "$OUT/$1_green.png"
    GREEN=$GREEN_PIXELS
    FILL=$((100 * GREEN / (side * side)))
    green_mask "$OUT/$1.bmp" "$above" "$OUT/$1_above.png"
    local w=${above%%x*} rest=${above#*x}
    ABOVE=$((100 * GREEN_PIXELS / (w * ${rest%%+*})))
}

# The wheel: four notches towards the screen bring the camera 1.2^4 = 2.1 times nearer
# (180 -> 86.81), eight away take it to 373.25; the green of the player's back must grow and
# shrink with it, fill its square each time and leave the strip above it (the figure is drawn
# where and as large as the camera puts it). The wheel comes first, while the enemies are still far
# off; when the game started so slowly that they crowd the player already (an enemy hides its back),
# the way is cleared and the wheel tried again.
for try in 1 2 3 4; do
    zoom wheel_base 4 0 180.00
    green_base=$GREEN fills=$FILL aboves=$ABOVE
    zoom zoomed_in 4 4 86.81
    green_in=$GREEN fills="$fills $FILL" aboves="$aboves $ABOVE"
    zoom zoomed_out 5 8 373.25
    green_out=$GREEN fills="$fills $FILL" aboves="$aboves $ABOVE"
    zoom wheel_back 4 4 180.00
    log "the player's back: $green_base green pixels, $green_in after 4 notches in, $green_out after 8 out (filling $fills percent of its square; green above it $aboves percent)"
    least=$(printf '%s\n' $fills | sort -n | head -n 1)
    most_above=$(printf '%s\n' $aboves | sort -n | tail -n 1)
    [ "$least" -ge 30 ] && [ "$most_above" -le 30 ] &&
        [ "$green_in" -ge $((green_base * 2)) ] && [ "$green_out" -le $((green_base / 2)) ] && break
    [ "$try" -eq 4 ] && break
    log "enemies crowd the player; they are cleared away"
    clear_way
done
[ "$least" -ge 30 ] && [ "$most_above" -le 30 ] ||
    fail "the player's back is not drawn where and as large as the camera puts it (filling $fills percent of its square, green above it $aboves percent)"
[ "$green_in" -ge $((green_base * 2)) ] ||
    fail "4 wheel notches in (button 4) did not enlarge the player ($green_base -> $green_in green pixels)"
[ "$green_out" -le $((green_base / 2)) ] ||
    fail "8 wheel notches out (button 5) did not shrink the player ($green_base -> $green_out green pixels)"

# Enemies: figures that move while the player stands still (snowflakes do not count). One spawns
# every 2 s at a random place on a random edge, far away and often out of view; each walks to the
# player and comes into view near it. The probe tells when one walks on the screen; two pictures
# two seconds of game time apart must then show a moving figure.
walking_in_view='
    { k = $1 }
    k == "enemy" && $7 > 40 && $7 < 760 && $8 > 60 && $8 < 540 && $10 > 15 { seen = 1 }
    END { exit !seen }'
moved=0
for pair in $(seq 1 6); do
    wait_until 60 "no enemy walked into view" awk "$walking_in_view" "$STATE_FILE"
    snap_state walk_a
    wait_game_time 2000
    snap_state walk_b
    moved=$(moving_blobs "$OUT/walk_a.bmp" "$OUT/walk_b.bmp" "$SCENE")
    log "moving figures: $moved pixels changed in 2 s of game time without input (pair $pair)"
    [ "$moved" -ge 40 ] && break
done
[ "$moved" -ge 40 ] || fail "no enemy was seen walking on the plateau ($moved pixels of moving figures)"

# The view without input, then W held, then the mouse: each input must change the view much more
# than the same stretch of game without input does (falling snow and walking enemies alone).
snap_state still_2
wait_game_time 1500
snap_state still_3

walk_ahead 15
snap_state walked

# Mouse to the right: 200 pixels turn the player by 30 degrees.
read -r dx _ dz <<<"$(state player_dir)"
xdotool mousemove_relative -- 200 0
wait_state 30 "the player turning with the mouse" \
    "(split(v[\"player_dir\"], d, \" \") && d[1] * $dx + d[3] * $dz < 0.94)"
wait_frames 2
snap_state turned
require_alive "after the inputs"

# The view: a change of the whole picture, at a scale where snowflakes average out.
still=$(coarse_change "$OUT/still_2.bmp" "$OUT/still_3.bmp" "$SCENE")
walk=$(coarse_change "$OUT/still_3.bmp" "$OUT/walked.bmp" "$SCENE")
turn=$(coarse_change "$OUT/walked.bmp" "$OUT/turned.bmp" "$SCENE")
zoom_in=$(coarse_change "$OUT/wheel_base.bmp" "$OUT/zoomed_in.bmp" "$SCENE")
zoom_out=$(coarse_change "$OUT/zoomed_in.bmp" "$OUT/zoomed_out.bmp" "$SCENE")
log "view change: still $still, W held $walk, mouse $turn, wheel in $zoom_in, wheel out $zoom_out"
view_moved "$still" "$walk" "holding W did not move the view"
view_moved "$still" "$turn" "moving the mouse did not turn the view"
view_moved "$still" "$zoom_in" "the wheel (button 4) did not move the camera"
view_moved "$still" "$zoom_out" "the wheel (button 5) did not move the camera"

press Escape
wait_exit 30 || fail "the game did not end within 30 s of Escape"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Escape, expected 0"
check_no_sanitizer_report
pass "enemies walk; W, mouse and wheel move the view"
