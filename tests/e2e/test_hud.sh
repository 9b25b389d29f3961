#!/usr/bin/env bash
# The HUD: the settings keys announce themselves in white just left of the bottom centre for one
# second ("godmode on", then "godmode off", one letter longer); F2 takes the yellow FPS line off the
# top left and brings it back; the hit points (bottom left) and the seconds (top centre) stay.
source "$(dirname "$0")/lib.sh"
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

# toggle KEY NAME: presses KEY, takes NAME.png and NAME_late.png 0.4 and 0.7 s later (a frame
# takes up to a third of a second here, and the key is read at the start of the next one), and
# NAME_gone.png 2 s after the press. The pictures are judged afterwards: measuring is slow while
# the game runs.
toggle() {
    local key=$1 name=$2 pressed
    press "$key"
    pressed=$(date +%s%3N)
    sleep 0.4
    screenshot "$name"
    sleep 0.3
    screenshot "${name}_late"
    local wait_ms=$(( 2000 - ($(date +%s%3N) - pressed) ))
    [ "$wait_ms" -gt 0 ] && sleep "$(awk -v m="$wait_ms" 'BEGIN { printf "%.3f", m / 1000 }')"
    screenshot "${name}_gone"
}

# shown NAME: the message in NAME.png (or, if not drawn yet, NAME_late.png), cleared in
# NAME_gone.png; sets SHOWN, BEYOND10, BEYOND12.
shown() {
    local at=0.4 left
    count_many "$OUT/$1.png" "$HUD_TEXT3" "$WHITE" "$BEYOND_10_CHARS" "$WHITE" "$BEYOND_12_CHARS" "$WHITE"
    if [ "${COUNTS[0]}" -lt 40 ]; then
        at=0.7
        count_many "$OUT/${1}_late.png" "$HUD_TEXT3" "$WHITE" "$BEYOND_10_CHARS" "$WHITE" "$BEYOND_12_CHARS" "$WHITE"
    fi
    SHOWN=${COUNTS[0]} BEYOND10=${COUNTS[1]} BEYOND12=${COUNTS[2]}
    left=$(count_pixels "$OUT/${1}_gone.png" "$HUD_TEXT3" "$WHITE")
    log "$1: $SHOWN white pixels on the message line at $at s ($BEYOND10 beyond 10 characters, $BEYOND12 beyond 12), $left at 2 s"
    [ "$SHOWN" -ge 40 ] || fail "$1: no white message at the bottom centre 0.4 and 0.7 s after the key ($SHOWN white pixels)"
    [ "$left" -le 3 ] || fail "$1: the message is still shown 2 s after the key ($left white pixels)"
}

toggle F1 godmode_on
toggle F1 godmode_off
# F2: the FPS line goes blank at its next refresh (every 500 ms), so it is gone 2 s later.
toggle F2 fps_counter_off
fps_off_shot=$SHOT
toggle F2 fps_counter_on
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
log "FPS line switched off: ${COUNTS[0]} yellow pixels; seconds ${COUNTS[1]} white pixels"
[ "${COUNTS[0]}" -le 2 ] || fail "the FPS line is still shown 2 s after F2 (${COUNTS[0]} yellow pixels)"
[ "${COUNTS[1]}" -ge 8 ] || fail "the seconds went away with the FPS line"
yellow=$(count_pixels "$fps_on_shot" "$HUD_TEXT1" "$YELLOW")
log "FPS line switched on again: $yellow yellow pixels"
[ "$yellow" -ge 30 ] || fail "the FPS line did not come back 2 s after the second F2 ($yellow yellow pixels)"

press Escape
wait_exit 30 || fail "the game did not end within 30 s of Escape"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Escape, expected 0"
check_no_sanitizer_report
pass "toggle messages appear for a second, F2 switches the FPS line"
