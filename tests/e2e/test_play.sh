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
press F1
wait_for_first_frames 40

# Enemies: figures that move while the player stands still (snowflakes do not count). One spawns
# every 2 s at a random place on a random edge, far away and often out of view; but each walks to
# the player and comes into view near it before it stops, the first about 15 s into the game. So
# pairs of pictures 2 s apart are compared until one shows a figure that moved, for up to 40 s.
moved=0
for pair in $(seq 1 12); do
    screenshot walk_a
    sleep 2
    screenshot walk_b
    moved=$(moving_blobs "$OUT/walk_a.png" "$OUT/walk_b.png" "$SCENE")
    log "moving figures: $moved pixels changed in 2 s without input (pair $pair)"
    [ "$moved" -ge 40 ] && break
done
[ "$moved" -ge 40 ] || fail "no enemy walked on the plateau in 40 s ($moved pixels of moving figures)"

# Pictures first, measures afterwards: measuring is slow while the game runs.
screenshot still_2
sleep 1.5
screenshot still_3

xdotool keydown w
sleep 1.5
xdotool keyup w
screenshot walked

# Mouse to the right: 200 pixels turn the player by 30 degrees.
xdotool mousemove_relative -- 200 0
sleep 1
screenshot turned

# Four notches of the wheel towards the screen: the camera comes 1.2^4 = 2.1 times nearer.
for _ in 1 2 3 4; do xdotool click 4; done
sleep 1
screenshot zoomed_in
for _ in 1 2 3 4 5 6 7 8; do xdotool click 5; done
sleep 1
screenshot zoomed_out
require_alive "after the inputs"

# The wheel: nearer, the player is larger; farther, smaller. Its own figure is measured, the one
# the camera looks at in the middle of the picture, so enemies walking by cannot sway it.
green_turned=$(player_green "$OUT/turned.png" "$SCENE")
green_in=$(player_green "$OUT/zoomed_in.png" "$SCENE")
green_out=$(player_green "$OUT/zoomed_out.png" "$SCENE")
log "the player's green side: $green_turned pixels before the wheel, $green_in after 4 notches in, $green_out after 8 out"
[ "$green_turned" -ge 20 ] || fail "the player's green side is not in the middle of the picture ($green_turned pixels)"
[ "$green_in" -ge $((green_turned * 2)) ] ||
    fail "4 wheel notches in (button 4) did not enlarge the player ($green_turned -> $green_in green pixels)"
[ "$green_out" -le $((green_turned / 2)) ] ||
    fail "8 wheel notches out (button 5) did not shrink the player ($green_turned -> $green_out green pixels)"

# The view: a change of the whole picture, at a scale where snowflakes average out.
still=$(coarse_change "$OUT/still_2.png" "$OUT/still_3.png" "$SCENE")
walk=$(coarse_change "$OUT/still_3.png" "$OUT/walked.png" "$SCENE")
turn=$(coarse_change "$OUT/walked.png" "$OUT/turned.png" "$SCENE")
zoom_in=$(coarse_change "$OUT/turned.png" "$OUT/zoomed_in.png" "$SCENE")
zoom_out=$(coarse_change "$OUT/zoomed_in.png" "$OUT/zoomed_out.png" "$SCENE")
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
