#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Left alone (no god mode) the player is worn down by the enemies; then "GAME OVER" and, a line
# below in smaller letters, "survived: N sec. " appear in the middle, the hit points read "0", the
# world goes on (enemies, snow, the seconds counter) while the score stays, and Escape still ends
# the program with status 0.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

# "GAME OVER": 9 characters of 0.06 from (-0.25, 0.2), i.e. x 300 to 516, baseline y 240, about
# 34 pixels high. The survival line: about 18 characters of 0.036 from (-0.27, 0.1), i.e. x 292 to
# 551, baseline y 270, about 21 pixels high.
GAME_OVER_LINE="330x45+290+200"
SURVIVED_LINE="300x28+285+250"
# Beyond the first character of the hit points line: empty when it reads "0".
HP_AFTER_FIRST_CHAR="40x22+14+578"

start_xvfb
start_game
wait_for_window Glacimor 30
wait_for_first_frames 40

count_many "$SHOT" "$GAME_OVER_LINE" "$WHITE" "$SURVIVED_LINE" "$WHITE"
log "while playing: ${COUNTS[0]} and ${COUNTS[1]} white pixels where the end-of-game lines go"
[ "${COUNTS[0]}" -lt 150 ] && [ "${COUNTS[1]}" -lt 100 ] ||
    fail "white text in the middle of the screen while the player is alive (${COUNTS[*]})"

# Enemies come every 2 s from ~100 units away at 10 units a second, each in reach drains 10 hit
# points a second: the end comes within about a minute of game time. The probe tells when; the
# picture of a frame drawn after it is judged.
wait_state 120 "end of the game" 'v["endgame"] == 1'
wait_frames 1
screenshot game_over
over=$SHOT
count_many "$SHOT" "$GAME_OVER_LINE" "$WHITE" "$SURVIVED_LINE" "$WHITE"
[ "${COUNTS[0]}" -ge 400 ] && [ "${COUNTS[1]}" -ge 200 ] ||
    fail "no 'GAME OVER' in the middle of the screen at the end of the game (${COUNTS[*]} white pixels)"
# A second picture of a later frame: the text is what both have white (see steady_text).
wait_frames 2
screenshot game_over_b
log "game over: ${COUNTS[0]} white pixels on the 'GAME OVER' line, ${COUNTS[1]} on the survival line"
# The big line is drawn at 5/3 the size of the survival line: its letters have more pixels each
# although it has half as many letters.
[ "${COUNTS[0]}" -gt "${COUNTS[1]}" ] || fail "the 'GAME OVER' line is not larger than the survival line"

# The world goes on after the end.
wait_game_time 3000
screenshot after_game_over_b
wait_frames 2
screenshot after_game_over
count_many "$SHOT" "$GAME_OVER_LINE" "$WHITE" "$SURVIVED_LINE" "$WHITE" "$HUD_TEXT2" "$WHITE" \
    "$HP_AFTER_FIRST_CHAR" "$WHITE"
log "3 s of game time later: end-of-game lines ${COUNTS[0]} and ${COUNTS[1]}, hit points ${COUNTS[2]} white pixels (${COUNTS[3]} beyond one character)"
[ "${COUNTS[0]}" -ge 400 ] && [ "${COUNTS[1]}" -ge 200 ] || fail "the end-of-game lines went away"
[ "${COUNTS[2]}" -ge 5 ] && [ "${COUNTS[3]}" -le 1 ] || fail "the hit points line does not read one character ('0')"

# The score is fixed: the survival line is the same text; the seconds counter has moved on.
# The text is compared where it is white in two pictures taken one after the other, which leaves
# out the snowflakes; another number of seconds would change some 40 pixels of it.
steady_text() {
    white_mask "$OUT/$1.png" "$SURVIVED_LINE" "$OUT/.mask_1.png"
    white_mask "$OUT/$1_b.png" "$SURVIVED_LINE" "$OUT/.mask_2.png"
    convert "$OUT/.mask_1.png" "$OUT/.mask_2.png" -evaluate-sequence min "$OUT/$2"
    rm -f "$OUT/.mask_1.png" "$OUT/.mask_2.png"
}
steady_text game_over survived_text_1.png
steady_text after_game_over survived_text_2.png
score_changed=$(count_changed "$OUT/survived_text_1.png" "$OUT/survived_text_2.png" "" 50)
seconds_changed=$(count_changed "$over" "$SHOT" "$HUD_SECONDS" 30)
scene_changed=$(count_changed "$over" "$SHOT" "800x520+0+25" 12)
log "in 3 s of game time: survival line $score_changed, seconds counter $seconds_changed, scene $scene_changed pixels changed"
[ "$seconds_changed" -ge 5 ] || fail "the seconds counter stopped at the end of the game"
[ "$scene_changed" -ge 1000 ] || fail "the scene stopped moving after the end of the game"
[ "$score_changed" -le 20 ] || fail "the survival line changed after the end ($score_changed pixels)"

press Escape
wait_exit 30 || fail "the game did not end within 30 s of Escape after the end of the game"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Escape, expected 0"
check_no_sanitizer_report
pass "the end of the game is shown and the game runs on until Escape"
