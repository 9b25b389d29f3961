#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The HUD: the settings keys announce themselves in white just left of the bottom centre for one
# second ("godmode on", then "godmode off", one letter longer); F2 takes the yellow FPS line off the
# top left and brings it back; the hit points (bottom left) and the seconds (top centre) stay.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

# Just right of where "godmode on" ends: the message starts at x 388 and a character is 9.6 pixels
# wide, so the 10th character ends at x 484 and the 11th ("godmode off") reaches x 494.
BEYOND_10_CHARS="14x22+486+578"
# Beyond the 12th character (x 503): only "fps counter off" (15 characters, to x 532) reaches here.
BEYOND_12_CHARS="26x22+506+578"

start_xvfb
start_game
wait_for_window Glacimor 30
wait_for_first_frames 40

screenshot before_toggle
count_many "$SHOT" "$HUD_TEXT3" "$WHITE" "$HUD_TEXT2" "$WHITE" "$HUD_SECONDS" "$WHITE"
log "before any toggle: message line ${COUNTS[0]}, hit points ${COUNTS[1]}, seconds ${COUNTS[2]} white pixels"
[ "${COUNTS[0]}" -le 3 ] || fail "the message line shows something before any toggle (${COUNTS[0]} white pixels)"
[ "${COUNTS[1]}" -ge 8 ] || fail "no hit points bottom left"
[ "${COUNTS[2]}" -ge 8 ] || fail "no seconds counter top centre"

# toggle KEY SETTING VALUE TEXT NAME: presses KEY and takes NAME while its message TEXT is shown
# (the probe tells when), and NAME_gone once the message line has been cleared, a second of game
# time later. The pictures are judged afterwards: measuring is slow while the game runs.
toggle() {
    catch_message "$1" "$2" "$3" "$4" "$5"
    wait_message_gone "${5}_gone"
}

# shown NAME: the message in NAME, cleared in NAME_gone; sets SHOWN, BEYOND10, BEYOND12.
shown() {
    local left
    count_many "$OUT/$1.bmp" "$HUD_TEXT3" "$WHITE" "$BEYOND_10_CHARS" "$WHITE" "$BEYOND_12_CHARS" "$WHITE"
    SHOWN=${COUNTS[0]} BEYOND10=${COUNTS[1]} BEYOND12=${COUNTS[2]}
    left=$(count_pixels "$OUT/${1}_gone.bmp" "$HUD_TEXT3" "$WHITE")
    log "$1: $SHOWN white pixels on the message line ($BEYOND10 beyond 10 characters, $BEYOND12 beyond 12), $left once cleared"
    [ "$SHOWN" -ge 40 ] || fail "$1: no white message at the bottom centre while the game shows it ($SHOWN white pixels)"
    [ "$left" -le 3 ] || fail "$1: the message is still drawn after the game cleared it ($left white pixels)"
}

toggle F1 god 1 "godmode on" godmode_on
toggle F1 god 0 "godmode off" godmode_off
# F2: the FPS line goes blank at its next refresh (every 500 ms of game time).
toggle F2 fpscounter 0 "fps counter off" fps_counter_off
wait_state 30 "the FPS line's refresh after F2" "v[\"ticks\"] >= $(state ticks) + 600"
snap_state fps_off
fps_off_shot=$SHOT
toggle F2 fpscounter 1 "fps counter on" fps_counter_on
wait_state 30 "the FPS line's refresh after the second F2" "v[\"ticks\"] >= $(state ticks) + 600"
snap_state fps_on
fps_on_shot=$SHOT

shown godmode_on
on_pixels=$SHOWN
[ "$BEYOND10" -le 1 ] || fail "the first F1 message is longer than 'godmode on'"
shown godmode_off
[ "$BEYOND10" -ge 4 ] || fail "the second F1 message is not one character longer than the first ('godmode off')"
[ "$BEYOND12" -le 1 ] || fail "the second F1 message is longer than 'godmode off'"
[ "$SHOWN" -gt "$on_pixels" ] || fail "'godmode off' has no more text pixels than 'godmode on'"
shown fps_counter_off
[ "$BEYOND12" -ge 4 ] || fail "the F2 message does not reach beyond 12 characters ('fps counter off')"
shown fps_counter_on
[ "$BEYOND12" -ge 4 ] || fail "the second F2 message does not reach beyond 12 characters ('fps counter on')"

count_many "$fps_off_shot" "$HUD_TEXT1" "$YELLOW" "$HUD_SECONDS" "$WHITE"
log "FPS line switched off (a refresh later): ${COUNTS[0]} yellow pixels; seconds ${COUNTS[1]} white pixels"
[ "${COUNTS[0]}" -le 2 ] || fail "the FPS line is still shown a refresh after F2 (${COUNTS[0]} yellow pixels)"
[ "${COUNTS[1]}" -ge 8 ] || fail "the seconds went away with the FPS line"
yellow=$(count_pixels "$fps_on_shot" "$HUD_TEXT1" "$YELLOW")
log "FPS line switched on again: $yellow yellow pixels"
[ "$yellow" -ge 30 ] || fail "the FPS line did not come back a refresh after the second F2 ($yellow yellow pixels)"

press Escape
wait_exit 30 || fail "the game did not end within 30 s of Escape"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Escape, expected 0"
check_no_sanitizer_report
pass "toggle messages appear for a second, F2 switches the FPS line"
