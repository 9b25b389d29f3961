#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Data files the game cannot use never hang it or exhaust it: each is named on one line of standard
# error, before anything is read from it.
#   No data folders at all, in a folder whose name holds a line break and a tab: the first line
#     names the folder the game looked in (those bytes escaped, so it stays one line) and how to
#     start it; status 1, nothing else printed, no window.
#   Data folders that are there but may not be read (the working folder shut to the game's user):
#     one line that says so, not "not there"; status 1.
#   A shader source over 1 MiB and a FIFO in place of a texture: a line each; a texture is needed,
#     so status 1 (a FIFO once blocked the start-up forever).
#   A texture whose header claims 65536 x 65536 pixels in a 196 KB file: one line, status 1 (it once
#     took 12.7 GB and 36 s).
#   A 2 x 2 texture whose pixels begin 2 GB into a sparse file: more than any texture of the driver
#     with its header, one line, status 1 (the gap was read and held: 2.2 GB, 20 s).
#   A FIFO and a folder in place of the scene's shader sources (the folder once asked malloc for
#     2^63 bytes), and a snow shader that quotes terminal control bytes in an #error: a line each,
#     the driver's log with the bytes escaped, and the game plays on without shaders; Escape ends it
#     with status 0.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

start_xvfb

# --- No data folders, in a folder with a line break and a tab in its name ---
GAME_DIR="$OUT/empty"$'\n'"folder"$'\t'
mkdir -p "$GAME_DIR"
start_game
expect_exit nodata 1
expect_lines nodata "glacimor: no game data in $OUT/empty\\x0afolder\\x09: its textures/ and shader/ folders are not there; start the game with \"make run\" in its repository, or with the installed launcher \"glacimor\""
[ ! -s "$OUT/nodata.stdout" ] || fail "nodata: the game printed on standard output: $(head -c 300 "$OUT/nodata.stdout" | cat -v)"
rm -rf "$GAME_DIR"

# --- The data folders there, the working folder shut to the game's user ---
copy_game_data
shut=""
if [ "$(id -u)" -eq 0 ]; then
    # Root reads any folder: the game runs as nobody, in a folder only root may enter, from a copy
    # that nobody may run (the build may lie in a home only root enters), without the state probe.
    shut=$(mktemp -d /tmp/glacimor-shut.XXXXXX)
    chmod 755 "$shut"
    cp "$GAME" "$shut/glacimor"
    chmod 700 "$GAME_DIR"
    GLACIMOR_STATE_PROBE=/nonexistent start_game setpriv --reuid=65534 --regid=65534 --clear-groups "$shut/glacimor"
else
    start_game sh -c 'chmod 0 . && exec "$0"' "$GAME"
fi
expect_exit shut_folder 1
chmod 755 "$GAME_DIR"
[ -z "$shut" ] || rm -rf "$shut"
expect_lines shut_folder "glacimor: cannot read the game data in $GAME_DIR: its textures/ and shader/ folders cannot be read (Permission denied)"
rm -rf "$GAME_DIR"

# --- A shader source over 1 MiB, a FIFO for a texture ---
copy_game_data
{ cat "$REPO/shader/GM_partshader.fs"; head -c $((1024 * 1024)) /dev/zero | tr '\0' '/'; echo; } \
    >"$GAME_DIR/shader/GM_partshader.fs"
size=$(stat -c %s "$GAME_DIR/shader/GM_partshader.fs")
rm "$GAME_DIR/textures/wall.bmp"
mkfifo "$GAME_DIR/textures/wall.bmp"
start_game
expect_exit fifo_texture 1
expect_lines fifo_texture \
    "glacimor: cannot use shader source shader/GM_partshader.fs: it is $size bytes, more than the 1048576 allowed; drawing without the program shader/GM_partshader" \
    "glacimor: cannot use texture textures/wall.bmp: it is a FIFO, not a file"
[ ! -s "$OUT/fifo_texture.stdout" ] || fail "fifo_texture: the game printed on standard output"
rm -rf "$GAME_DIR"

# --- A texture header that claims 65536 x 65536 pixels in 196 KB ---
copy_game_data
head -c $((196 * 1024)) "$REPO/textures/iceground.bmp" >"$GAME_DIR/textures/iceground.bmp"
printf '\x00\x00\x01\x00\x00\x00\x01\x00' |
    dd of="$GAME_DIR/textures/iceground.bmp" bs=1 seek=18 conv=notrunc status=none
start_ms=$(date +%s%3N)
start_game
expect_exit lying_header 1
log "lying_header: the start ended after $(( $(date +%s%3N) - start_ms )) ms"
# The limit is the driver's own (16384 on Mesa's software renderer).
expect_line_matching lying_header \
    "glacimor: cannot use texture textures/iceground.bmp: its header claims 65536 x 65536 pixels, more than this driver's largest texture ([0-9]* x [0-9]*)"
rm -rf "$GAME_DIR"

# --- A 2 x 2 texture 2 GB into a sparse file ---
copy_game_data
offset=$((2 * 1024 * 1024 * 1024 - 100))
head -c 54 "$REPO/textures/wall.bmp" >"$GAME_DIR/textures/wall.bmp"
printf '\x02\x00\x00\x00\x02\x00\x00\x00' | dd of="$GAME_DIR/textures/wall.bmp" bs=1 seek=18 conv=notrunc status=none
printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((offset & 255)) $((offset >> 8 & 255)) $((offset >> 16 & 255)) $((offset >> 24 & 255)))" |
    dd of="$GAME_DIR/textures/wall.bmp" bs=1 seek=10 conv=notrunc status=none
head -c 16 /dev/zero | dd of="$GAME_DIR/textures/wall.bmp" bs=1 seek="$offset" conv=notrunc status=none
start_ms=$(date +%s%3N)
start_game
expect_exit sparse_texture 1
log "sparse_texture: the start ended after $(( $(date +%s%3N) - start_ms )) ms"
expect_line_matching sparse_texture \
    "glacimor: cannot use texture textures/wall.bmp: it is $((offset + 16)) bytes, more than the [0-9]* that the largest texture of this driver ([0-9]* x [0-9]*) takes with its header"
rm -rf "$GAME_DIR"

# --- The scene's shader sources a FIFO and a folder, the snow's quoting control bytes ---
copy_game_data
rm "$GAME_DIR/shader/GM_shader.vs" "$GAME_DIR/shader/GM_shader.fs"
mkfifo "$GAME_DIR/shader/GM_shader.vs"
mkdir "$GAME_DIR/shader/GM_shader.fs"
printf '#version 120\n#error \033[31mRED\033[0m \033]0;TITLE\007 bell\nvoid main() {}\n' \
    >"$GAME_DIR/shader/GM_partshader.fs"
start_game
wait_for_window Glacimor 30
wait_for_first_frames 40
press Escape
expect_exit bad_shaders 0
expect_lines bad_shaders \
    "glacimor: shader program shader/GM_partshader did not build; drawing without it" \
    "glacimor: cannot use shader source shader/GM_shader.vs: it is a FIFO, not a file; drawing without the program shader/GM_shader" \
    "glacimor: cannot use shader source shader/GM_shader.fs: it is a folder, not a file; drawing without the program shader/GM_shader"
log "bad_shaders: standard output: $(cat -v "$OUT/bad_shaders.stdout")"
grep -qF '#error \x1b[31mRED\x1b[0m \x1b]0;TITLE\x07 bell' "$OUT/bad_shaders.stdout" ||
    fail "bad_shaders: the driver's log does not quote the #error line with its bytes escaped"
! LC_ALL=C grep -q $'[\x01-\x08\x0b-\x1f\x7f]' "$OUT/bad_shaders.stdout" ||
    fail "bad_shaders: control bytes reached standard output: $(cat -v "$OUT/bad_shaders.stdout")"
rm -rf "$GAME_DIR"

pass "no data, shut folders, a FIFO, a folder, a lying header, a sparse texture, an oversized source: one line each, no hang"
