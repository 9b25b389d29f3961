#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# A texture file missing from textures/ stops the game at start with status 1 and a line on standard
# error naming that file; nothing goes to standard output. Checked for the first and the last of the
# four files, each in a copy of the data folders that lacks just that one.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

start_xvfb

for missing in cubeface.bmp iceground.bmp; do
    copy_game_data
    rm "$GAME_DIR/textures/$missing"
    start_game
    wait_exit 60 || fail "without textures/$missing the game was still running after 60 s"
    log "without textures/$missing: exit status $GAME_STATUS"
    [ "$GAME_STATUS" -eq 1 ] || fail "without textures/$missing the exit status is $GAME_STATUS, expected 1"
    grep -q "textures/$missing" "$OUT/game.stderr" ||
        fail "standard error does not name textures/$missing: $(cat "$OUT/game.stderr")"
    # The other three files are there: only the missing one is blamed.
    for other in cubeface.bmp cubeface2.bmp wall.bmp iceground.bmp; do
        [ "$other" = "$missing" ] && continue
        ! grep -q "textures/$other" "$OUT/game.stderr" ||
            fail "standard error blames textures/$other, which is present: $(cat "$OUT/game.stderr")"
    done
    check_no_sanitizer_report
    [ ! -s "$OUT/game.stdout" ] || fail "the game printed on standard output: $(head -c 300 "$OUT/game.stdout")"
    log "stderr: $(grep "textures/$missing" "$OUT/game.stderr")"
    mv "$OUT/game.stderr" "$OUT/game-without-$missing.stderr"
    rm -rf "$GAME_DIR"
done
pass "a missing texture ends the start with status 1 and names the file"
