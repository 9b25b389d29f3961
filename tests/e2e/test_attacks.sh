#!/usr/bin/env bash
# The attacks, once the enemies have gathered round the player (god mode keeps it alive):
#   left button, stun burst: the green word "STUNNED" appears above the enemies, and they stay where
#     they are when the player walks away (the words are left behind with them, lower in the view);
#   right button, hit burst of 25: after four hits the enemies still follow the player; the fifth
#     kills them, and the dead are left behind when the player walks away.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# Where the labels of the enemies round the player go: 2 units above them.
ABOVE_PLAYER="500x160+150+170"
# Four wheel notches bring the camera to 87 units; the player stands at the middle of the view, a
# little below the centre, and whatever stays 30 units behind it when it walks on is seen lower.
AROUND_PLAYER="240x130+280+230"
LEFT_BEHIND="800x185+0+385"
# The enemies' and the player's cube sides: dark red, green and blue, where floor, walls and snow
# are all light blue to white.
FIGURE='b<0.55 || (r<0.2 && g<0.25)'
# The labels: bright pure green.
LABEL='g>0.8 && r<0.45 && b<0.45'

start_xvfb
start_game
wait_for_window Glacimor 30
press F1
# Anisotropic filtering off, as when the thresholds below were set: with it on, two runs in three
# missed a label or the dead left behind, not yet understood. The attacks do not depend on the
# filtering; the play and toggle tests keep it on.
press F6
wait_for_first_frames 40
for _ in 1 2 3 4; do xdotool click 4; done

# walk NAME: holds W for 2 s (the player walks some 30 units; three walks from the middle stay
# inside the walls at 99), waits 1 s (followers catch up) and takes NAME.
walk() {
    xdotool keydown w
    sleep 2
    xdotool keyup w
    sleep 1
    snap "$1"
    # The snow never stands still while the game draws: a picture equal to the one 0.4 s later
    # means the screen stopped showing new frames, and nothing here could be judged.
    sleep 0.4
    snap "$1_later"
    [ "$(count_changed "$OUT/$1.bmp" "$OUT/$1_later.bmp" "" 1)" -gt 0 ] ||
        fail "the screen stopped changing after walking ($1): the game shows no new frames"
}

# The first enemies arrive some 12 s after the start; wait until several stand round the player.
gathered=""
for i in $(seq 1 30); do
    snap gathering
    figures=$(count_pixels "$SHOT" "$AROUND_PLAYER" "$FIGURE")
    if [ "$figures" -ge 3500 ]; then
        gathered=$figures
        break
    fi
    sleep 0.5
done
# A few more come in the next seconds.
sleep 4
[ -n "$gathered" ] || fail "no enemies gathered round the player within $(elapsed) s ($figures figure pixels)"
log "enemies round the player: $gathered figure pixels"

snap before_stun
xdotool click 1
sleep 0.6
snap stunned
walk stunned_walked
# The stun lasts 5 s; then the enemies walk back the 30 units to the player at 10 units a second.
sleep 7
snap before_hits
xdotool click --repeat 4 --delay 100 3
sleep 0.6
walk four_hits_walked
xdotool click 3
sleep 0.6
snap five_hits
walk five_hits_walked
require_alive "after the attacks"

press Escape
wait_exit 30 || fail "the game did not end within 30 s of Escape"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Escape, expected 0"
check_no_sanitizer_report
log "pictures taken, measuring"

# Stun: the labels appear, and stay with the enemies when the player walks on.
count_many "$OUT/before_stun.bmp" "$ABOVE_PLAYER" "$LABEL" "$LEFT_BEHIND" "$LABEL"
before=("${COUNTS[@]}")
count_many "$OUT/stunned.bmp" "$ABOVE_PLAYER" "$LABEL" "$LEFT_BEHIND" "$LABEL"
stunned=("${COUNTS[@]}")
count_many "$OUT/stunned_walked.bmp" "$ABOVE_PLAYER" "$LABEL" "$LEFT_BEHIND" "$LABEL" "$AROUND_PLAYER" "$FIGURE" "$LEFT_BEHIND" "$FIGURE"
walked=("${COUNTS[@]}")
log "label green above the player: ${before[0]} before the left button, ${stunned[0]} after it, ${walked[0]} after walking on"
log "label green left behind (lower in the view): ${before[1]}, ${stunned[1]}, ${walked[1]}"
[ "${stunned[0]}" -ge $((3 * before[0] + 300)) ] ||
    fail "no green 'STUNNED' above the enemies after the left button (${before[0]} -> ${stunned[0]} green pixels)"
[ "${walked[1]}" -ge $((3 * stunned[1] + 150)) ] ||
    fail "the stunned enemies and their labels did not stay behind when the player walked on (${stunned[1]} -> ${walked[1]} label pixels low in the view)"

# Hits: after four the enemies (0 hit points) still follow; after the fifth they stay behind.
count_many "$OUT/four_hits_walked.bmp" "$AROUND_PLAYER" "$FIGURE" "$LEFT_BEHIND" "$FIGURE"
four=("${COUNTS[@]}")
count_many "$OUT/five_hits_walked.bmp" "$AROUND_PLAYER" "$FIGURE" "$LEFT_BEHIND" "$FIGURE"
five=("${COUNTS[@]}")
log "figures round the player / left behind after walking on: stunned ${walked[2]} / ${walked[3]}, four hits ${four[0]} / ${four[1]}, five hits ${five[0]} / ${five[1]}"
# Enemies that arrive late walk up from behind and are seen low in the view too, so "left behind"
# is judged by how much more stands there than after four hits, when all of them follow (that
# four hits leave an enemy hunting at 0 hit points is pinned by the unit tests).
[ "${five[1]}" -ge $((four[1] + 1500)) ] ||
    fail "after the fifth hit no dead enemies stayed behind (${four[1]} -> ${five[1]} figure pixels left behind)"
[ "${walked[3]}" -ge 8000 ] ||
    fail "no stunned enemies stayed behind (${walked[3]} figure pixels left behind)"

pass "the left button stuns and labels the enemies, the right button kills them with the fifth hit"
