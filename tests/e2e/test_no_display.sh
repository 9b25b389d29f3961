#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Started where there is no display at all (a text console, SSH without forwarding: neither
# DISPLAY nor WAYLAND_DISPLAY), the game does not play unseen: it ends at once with status 1 and
# one line on standard error saying that SDL found no display, and prints nothing on standard output.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

start_game env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR -u SDL_VIDEODRIVER "$GAME"
wait_exit 30 || fail "without a display the game was still running after 30 s"
log "without a display: exit status $GAME_STATUS; stderr: $(grep glacimor: "$OUT/game.stderr")"
[ "$GAME_STATUS" -eq 1 ] || fail "without a display the exit status is $GAME_STATUS, expected 1"
grep -q '^glacimor: SDL_Init failed: ' "$OUT/game.stderr" ||
    fail "standard error does not say that SDL found no display: $(cat "$OUT/game.stderr")"
check_no_sanitizer_report
[ ! -s "$OUT/game.stdout" ] || fail "the game printed on standard output: $(head -c 300 "$OUT/game.stdout")"
pass "no display: status 1 and SDL_Init's failure on standard error"
