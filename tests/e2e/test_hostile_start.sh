#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Starts the way desktop launchers, service managers, pipes and old drivers start the game: each
# ends soundly, with its line and status, never a hang or a signal.
#   Standard error closed and a texture missing: status 1 at once. (The X connection used to take
#     descriptor 2, the refusal went into the display's protocol stream, and the game hung for good.)
#   Standard output closed and a shader that does not build: the game plays on; Escape, status 0.
#     (The driver's log went into the X connection: the same hang.)
#   Standard output a pipe whose reader has gone, a shader that does not build and a texture
#     missing: both lines on standard error and status 1, not death by SIGPIPE (141) before them.
#   An OpenGL 1.1 driver (Mesa told so): one line naming what it offers and what the shader programs
#     need, then the game plays with the fixed pipeline; Escape, status 0. (glCreateShader was
#     called through a null pointer.)
#   A driver without anisotropic filtering (Mesa told so, as a browser without the extension): one
#     line, then the game plays, F6 still says "AF off"; Escape, status 0. (Every texture's upload
#     failed on the filter's unknown parameter, and the game refused to start.)
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

BAD_SHADER='glacimor: shader program shader/GM_shader did not build; drawing without it'

# play_and_quit NAME: the game shows its scene with the HUD, and Escape ends it with status 0.
play_and_quit() {
    wait_for_window Glacimor 60
    wait_for_first_frames 60
    cp "$SHOT" "$OUT/$1.bmp"
    press Escape
    expect_exit "$1" 0
}

start_xvfb

# --- Standard error closed, a texture missing ---
copy_game_data
rm "$GAME_DIR/textures/wall.bmp"
start_game sh -c 'exec "$0" 2>&-' "$GAME"
expect_exit closed_stderr 1
rm -rf "$GAME_DIR"

# --- Standard output closed, a shader that does not build ---
copy_game_data
printf '#version 120\nvoid main() { this is not GLSL }\n' >"$GAME_DIR/shader/GM_shader.fs"
start_game sh -c 'exec "$0" >&-' "$GAME"
play_and_quit closed_stdout
expect_lines closed_stdout "$BAD_SHADER"

# --- Standard output a pipe without a reader, the same shader, a texture missing ---
rm "$GAME_DIR/textures/iceground.bmp"
mkfifo "$OUT/nowhere"
exec 5<>"$OUT/nowhere"  # a reader, so that the writer opens at once
exec 4>"$OUT/nowhere"
exec 5<&-               # and gone: every write into descriptor 4 fails (or kills by SIGPIPE)
start_game sh -c 'exec "$0" >&4 4>&-' "$GAME"
exec 4>&-
expect_exit closed_pipe 1
expect_lines closed_pipe "$BAD_SHADER" "glacimor: cannot use texture textures/iceground.bmp: the file is missing"
check_no_sanitizer_report
rm -rf "$GAME_DIR"

# --- An OpenGL 1.1 driver ---
GAME_DIR=""
start_game env MESA_GL_VERSION_OVERRIDE=1.1 "$GAME"
play_and_quit gl_1_1
[ "$(wc -l <"$OUT/gl_1_1.stderr")" -eq 1 ] &&
    grep -qx "glacimor: the OpenGL driver offers OpenGL 1\.1 .* without gl[A-Za-z]*; the shader programs need OpenGL 2\.0 with GLSL: drawing without them" \
        "$OUT/gl_1_1.stderr" || fail "gl_1_1: standard error is not the one line expected: $(cat -v "$OUT/gl_1_1.stderr")"

# --- A driver without anisotropic filtering ---
start_game env MESA_EXTENSION_OVERRIDE="-GL_EXT_texture_filter_anisotropic -GL_ARB_texture_filter_anisotropic" "$GAME"
wait_for_window Glacimor 60
wait_for_first_frames 60
key_to F6 aniso 0
[ "$(state message)" = "AF off" ] || fail "no_aniso: F6 says \"$(state message)\", not \"AF off\""
press Escape
expect_exit no_aniso 0
[ "$(wc -l <"$OUT/no_aniso.stderr")" -eq 1 ] &&
    grep -qx "glacimor: the OpenGL driver offers OpenGL .* without EXT_texture_filter_anisotropic; textures are drawn without anisotropic filtering" \
        "$OUT/no_aniso.stderr" || fail "no_aniso: standard error is not the one line expected: $(cat -v "$OUT/no_aniso.stderr")"

pass "closed streams, a pipe without a reader, a GL 1.1 driver and one without anisotropic filtering: each its line and status"
