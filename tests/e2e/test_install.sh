#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installation: `cmake --install` of the build that made the given program, staged under DESTDIR,
# puts the program, its data, the launcher, the desktop entry, the icon, the AppStream metadata, the
# manual page, the copyright file, the changelog and the GPL's text in their places; the launcher
# then starts the game from an unrelated folder, and Escape ends it with status 0. With the data
# folder gone, the launcher says so on one line and ends with status 1.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

BUILD=$(dirname "$GAME")
PREFIX=/opt/glacimor-e2e
STAGE="$OUT/stage"
ROOT="$STAGE$PREFIX"

DESTDIR="$STAGE" cmake --install "$BUILD" --prefix "$PREFIX" >"$OUT/install.log" 2>&1 ||
    fail "cmake --install $BUILD failed (see $OUT/install.log)"
log "installed into $ROOT"

# Everything lands under the staged prefix, nothing beside it.
stray=$(find "$STAGE" -mindepth 1 -not -path "$ROOT" -not -path "$ROOT/*" -type f)
[ -z "$stray" ] || fail "files installed outside the prefix: $stray"

# The places of the installed files.
LAUNCHER="$ROOT/bin/glacimor"
PROGRAM="$ROOT/libexec/glacimor/glacimor"
DATA="$ROOT/share/glacimor"
DESKTOP="$ROOT/share/applications/io.github.glacimor.glacimor.desktop"
ICON="$ROOT/share/icons/hicolor/64x64/apps/glacimor.png"
METAINFO="$ROOT/share/metainfo/io.github.glacimor.glacimor.metainfo.xml"
MANPAGE="$ROOT/share/man/man6/glacimor.6.gz"
DOC="$ROOT/share/doc/glacimor"
for f in "$LAUNCHER" "$PROGRAM" "$DESKTOP" "$ICON" "$METAINFO" "$MANPAGE" "$DOC/copyright" "$DOC/changelog.gz" \
    "$DOC/LICENSE"; do
    [ -f "$f" ] || fail "missing after install: ${f#"$ROOT"/}"
done
[ -x "$LAUNCHER" ] || fail "the launcher is not executable"
[ -x "$PROGRAM" ] || fail "the program is not executable"
cmp -s "$GAME" "$PROGRAM" || fail "the installed program differs from $GAME"
head -c 2 "$LAUNCHER" | grep -q '#!' || fail "bin/glacimor is not the launcher script"

# The game's data, byte for byte, under the data folder.
for f in textures/cubeface.bmp textures/cubeface2.bmp textures/wall.bmp textures/iceground.bmp \
    shader/GM_shader.vs shader/GM_shader.fs shader/GM_partshader.vs shader/GM_partshader.fs; do
    [ -f "$DATA/$f" ] || fail "missing after install: share/glacimor/$f"
    cmp -s "$REPO/$f" "$DATA/$f" || fail "share/glacimor/$f differs from the repository's"
done

cmp -s "$REPO/packaging/io.github.glacimor.glacimor.metainfo.xml" "$METAINFO" ||
    fail "the installed AppStream file differs from the repository's"
gzip -dc "$MANPAGE" | cmp -s - "$REPO/packaging/glacimor.6" || fail "the installed manual page is not packaging/glacimor.6"
cmp -s "$REPO/packaging/copyright" "$DOC/copyright" || fail "the installed copyright file differs from the repository's"
cmp -s "$REPO/LICENSE" "$DOC/LICENSE" || fail "the installed LICENSE differs from the repository's"
gzip -dc "$DOC/changelog.gz" | cmp -s - "$REPO/packaging/changelog" || fail "the installed changelog is not packaging/changelog"

# The desktop entry names the game, the launcher on the PATH, the icon and the menu categories.
for line in '[Desktop Entry]' 'Type=Application' 'Name=Glacimor' 'Exec=glacimor' 'Icon=glacimor' \
    'Categories=Game;ActionGame;'; do
    grep -qxF "$line" "$DESKTOP" || fail "the desktop entry lacks the line '$line'"
done
desktop-file-validate "$DESKTOP" >"$OUT/desktop-file-validate.log" 2>&1 ||
    fail "desktop-file-validate rejects the entry (see $OUT/desktop-file-validate.log)"

# The icon is a 64 x 64 PNG of the living figure's face: the face texture scaled down by
# ImageMagick looks the same, in the same colours and the same way up.
[ "$(identify -format '%m %w %h' "$ICON")" = "PNG 64 64" ] || fail "the icon is not a 64 x 64 PNG"
convert "$REPO/textures/cubeface.bmp" -filter Box -resize 64x64 "$OUT/face64.png"
difference=$(compare -metric RMSE "$ICON" "$OUT/face64.png" null: 2>&1 | sed -E 's/.*\((.*)\).*/\1/')
log "icon against the scaled face texture: RMSE $difference"
fgt 0.06 "$difference" || fail "the icon does not show the face texture (RMSE $difference)"
convert "$ICON" -flip "$OUT/icon-flipped.png"
flipped=$(compare -metric RMSE "$OUT/icon-flipped.png" "$OUT/face64.png" null: 2>&1 | sed -E 's/.*\((.*)\).*/\1/')
fgt "$flipped" "$difference" || fail "the icon matches the face upside down as well as upright"

# Start the game through the launcher on the PATH from a folder without the game's data.
start_xvfb
ELSEWHERE="$OUT/elsewhere"
mkdir -p "$ELSEWHERE"
GAME_DIR=$ELSEWHERE start_game env PATH="$ROOT/bin:$PATH" glacimor

wait_for_window Glacimor 60
wait_for_first_frames 60
log "the game runs with its textures and HUD (window $WID)"

press Escape
wait_exit 30 || fail "the game did not end within 30 s of Escape"
[ "$GAME_STATUS" -eq 0 ] || fail "the game ended with status $GAME_STATUS after Escape"
check_no_sanitizer_report

# Half an installation: without its data folder the launcher names it in the game's own words, on
# one line, with the game's status for a start that failed (not the shell's cd error and 2).
mv "$DATA" "$DATA.away"
GAME_DIR=$ELSEWHERE start_game env PATH="$ROOT/bin:$PATH" glacimor
wait_exit 30 || fail "without its data folder the launcher was still running after 30 s"
mv "$DATA.away" "$DATA"
log "without its data folder: status $GAME_STATUS, standard error: $(cat -v "$OUT/game.stderr")"
[ "$GAME_STATUS" -eq 1 ] || fail "without its data folder the launcher ended with status $GAME_STATUS, expected 1"
[ "$(cat "$OUT/game.stderr")" = "glacimor: no game data in $DATA: the folder is not there; install the game again" ] ||
    fail "without its data folder the launcher said: $(cat -v "$OUT/game.stderr")"

pass "installed, launched from elsewhere, ended by Escape with status 0; without its data, one line and status 1"
