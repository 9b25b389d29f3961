#!/usr/bin/env bash
# Playing: enemies appear and walk; holding W walks the player forward, moving the
# mouse turns it, the wheel brings the camera nearer and farther. Each input must change the view
# much more than the same time without input does (falling snow and walking enemies alone).
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

SCENE="800x550+0+25"            # the picture without the HUD's top and bottom lines

start_xvfb
start_game
wait_for_window Glacimor 30
# God mode: the player must stay alive, a dead player neither walks nor turns.
wait_for_first_frames 40
key_to F1 god 1

# player_box STATE: "GEOM N": the square of the screen that the player's figure can cover, from the
# probe (the camera looks at the player, whose cube reaches 1.8 units from its centre, SR pixels
# each), and how many enemies nearer the camera could cover part of that square, with room for
# their walk while the picture was taken. Only such an enemy shows its green back there: the
# enemies face the player, so those beyond it show their red fronts.
player_box() {
    awk '$1 == "player" { px = $8; py = $9; pr = $10 }
         $1 == "enemy" { n++; ex[n] = $7; ey[n] = $8; er[n] = $9 }
         END {
             h = int(1.8 * pr) + 2
             for (i = 1; i <= n; i++) {
                 if (er[i] <= pr) continue
                 eh = 4 * er[i] + 2
                 if (ex[i] + eh > px - h && ex[i] - eh < px + h && ey[i] + eh > py - h && ey[i] - eh < py + h) near++
             }
             printf "%dx%d+%d+%d %d\n", 2 * h, 2 * h, px - h, py - h, near
         }' "$1"
}

# zoom NAME BUTTON COUNT DISTANCE: COUNT notches of the wheel, waits for the frame drawn with the
# camera at DISTANCE, takes NAME and measures the player's green side in its square: sets GREEN
# and NEAR (enemies that may stand in front of the player there).
zoom() {
    local i box
    for i in $(seq 1 "$3"); do xdotool click "$2"; done
    wait_state 30 "camera at distance $4 after the wheel" "(split(v[\"player\"], p, \" \") && p[6] == \"$4\")"
    snap_state "$1"
    read -r box NEAR <<<"$(player_box "$OUT/$1.state")"
    green_mask "$OUT/$1.bmp" "$box" "$OUT/$1_green.png"
    GREEN=$GREEN_PIXELS
}

# The wheel, first, while the enemies are still far off: four notches towards the screen bring the
# camera 1.2^4 = 2.1 times nearer (180 -> 86.81), eight away take it to 373.25; the player's figure
# must grow and shrink. Should an enemy stand between the camera and the player, the mouse turns
# the view (the camera swings round the player, the enemy stays) and the wheel is tried again.
for try in 1 2 3 4; do
    zoom wheel_base 4 0 180.00
    green_base=$GREEN near=$NEAR
    zoom zoomed_in 4 4 86.81
    green_in=$GREEN near=$((near + NEAR))
    zoom zoomed_out 5 8 373.25
    green_out=$GREEN near=$((near + NEAR))
    zoom wheel_back 4 4 180.00
    log "the player's green side: $green_base pixels, $green_in after 4 notches in, $green_out after 8 out ($near enemies before it)"
    [ "$near" -eq 0 ] && break
    xdotool mousemove_relative -- 300 0
    wait_frames 2
done
[ "$near" -eq 0 ] || fail "in four tries an enemy stood between the camera and the player"
[ "$green_base" -ge 20 ] || fail "the player's green side is not in the middle of the picture ($green_base pixels)"
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

start_x=$(state player | cut -d' ' -f1)
start_z=$(state player | cut -d' ' -f3)
xdotool keydown w
wait_state 30 "the player walking 15 units with W held" \
    "(split(v[\"player\"], p, \" \") && (p[1] - $start_x) ^ 2 + (p[3] - $start_z) ^ 2 >= 225)"
xdotool keyup w
wait_frames 2
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
floor=$(awk -v s="$still" 'BEGIN { v = 3 * s; if (v < 0.01) v = 0.01; print v }')
fgt "$walk" "$floor" || fail "holding W did not move the view ($walk, without input $still)"
fgt "$turn" "$floor" || fail "moving the mouse did not turn the view ($turn, without input $still)"
fgt "$zoom_in" "$floor" || fail "the wheel (button 4) did not move the camera ($zoom_in, without input $still)"
fgt "$zoom_out" "$floor" || fail "the wheel (button 5) did not move the camera ($zoom_out, without input $still)"

press Escape
wait_exit 30 || fail "the game did not end within 30 s of Escape"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Escape, expected 0"
check_no_sanitizer_report
pass "enemies walk; W, mouse and wheel move the view"
