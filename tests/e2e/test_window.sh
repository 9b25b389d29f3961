#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The game opens one full-screen window captioned "Glacimor", draws the scene behind its HUD (the
# yellow FPS line top left, the white hit points "100" bottom left, the white seconds top centre),
# prints nothing on standard output and nothing from the sanitizers.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

start_xvfb
start_game
wait_for_window Glacimor 30
log "window $WID: $(xdotool getwindowname "$WID")"

# Full screen at the desktop's resolution: the window covers the whole virtual screen.
eval "$(xdotool getwindowgeometry --shell "$WID")"
[ "$WIDTH" -eq "$SCREEN_W" ] && [ "$HEIGHT" -eq "$SCREEN_H" ] ||
    fail "expected a full-screen ${SCREEN_W}x${SCREEN_H} window, got ${WIDTH}x${HEIGHT}"

wait_for_first_frames 40
first=$SHOT
log "first frames drawn"
# God mode, so that the hit points stay at 100 however slow the machine is. Keys are sent once the
# game draws: one sent while the window is still being set up can be lost.
key_to F1 god 1

# Two seconds of play later: a lit scene, not a blank or uniform picture.
wait_game_time 2000
screenshot window
shown_second=$(( $(state ticks) / 1000 ))
spread=$(stddev "$SHOT")
level=$(mean_level "$SHOT")
log "picture: mean level $level, spread $spread"
fgt "$spread" 0.05 || fail "the picture is nearly uniform (spread $spread): no scene drawn"
fgt "$level" 0.1 || fail "the picture is nearly black (mean level $level)"
# The scene fills the screen: the upper half (walls, sky) and the lower half (the ice) are both lit.
fgt "$(convert "$SHOT" -crop 800x300+0+0 -colorspace Gray -format '%[fx:mean]' info:)" 0.1 ||
    fail "the upper half of the screen is dark"
fgt "$(convert "$SHOT" -crop 800x300+0+300 -colorspace Gray -format '%[fx:mean]' info:)" 0.1 ||
    fail "the lower half of the screen is dark"

# The HUD. Text pixels are counted in each region; a line of digits gives some tens of them.
fps_yellow=$(count_pixels "$SHOT" "$HUD_TEXT1" "$YELLOW")
hp_white=$(count_pixels "$first" "$HUD_TEXT2" "$WHITE")
secs_white=$(count_pixels "$SHOT" "$HUD_SECONDS" "$WHITE")
log "HUD text pixels: FPS line $fps_yellow yellow, hit points $hp_white white, seconds $secs_white white"
[ "$fps_yellow" -ge 30 ] || fail "no yellow FPS line top left ($fps_yellow yellow pixels in $HUD_TEXT1)"
[ "$hp_white" -ge 20 ] || fail "no white hit points bottom left ($hp_white white pixels in $HUD_TEXT2)"
[ "$secs_white" -ge 8 ] || fail "no white seconds counter top centre ($secs_white white pixels in $HUD_SECONDS)"
# Nothing yellow where the other lines are, and no text where no line belongs (the right edge).
[ "$(count_pixels "$SHOT" "$HUD_TEXT2" "$YELLOW")" -le 2 ] || fail "yellow pixels in the hit points line"
[ "$(count_pixels "$SHOT" "120x22+680+0" "$YELLOW")" -le 2 ] || fail "yellow text at the top right"

# "100" (god mode keeps it) is three characters: the white pixels of the hit points stay within 3 advances
# (29 pixels) of the line's start at x 4, a four-character text would reach beyond.
[ "$(count_pixels "$first" "40x22+36+578" "$WHITE")" -le 3 ] ||
    fail "the hit points line is longer than three characters at start"

# The seconds counter counts: once the game's clock is past the last second the first picture can
# show, a new picture shows another number.
wait_state 30 "the next second of the game" "v[\"ticks\"] >= ($shown_second + 1) * 1000"
wait_frames 1
screenshot seconds_later
changed=$(count_changed "$SHOT" "$OUT/window.png" "$HUD_SECONDS" 30)
log "seconds counter region: $changed pixels changed from second $shown_second to $(( $(state ticks) / 1000 ))"
[ "$changed" -ge 5 ] || fail "the seconds counter did not change with the game's clock"

require_alive "at the end of the checks"
press Escape
wait_exit 30 || fail "the game did not end within 30 s of Escape"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Escape, expected 0"
check_no_sanitizer_report
[ ! -s "$OUT/game.stdout" ] || fail "the game printed on standard output: $(head -c 300 "$OUT/game.stdout")"
pass "window, scene and HUD as expected"
