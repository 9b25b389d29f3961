#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The render toggles F3 to F9: each announces itself on the message line with the text of its length
# ("wireframe on", "texture filtering off", "mipmaps off", "AF off", "shading off", "culling off",
# "alpha off") and changes the picture in its own way, and a second press puts the picture back:
#   F3 wireframe: the scene turns into lines on black, far darker; the HUD text stays filled.
#   F6 AF off: the floor at a grazing angle, far away, goes blurry, less fine detail.
#   F5 mipmaps off (with AF off): that far floor gets sharp and grainy again.
#   F4 filtering off (with both off): nearest texels make it grainier still.
#   F7 shading off: the fixed pipeline, no haze: a large change of the whole picture.
#   F8 culling off: the snowflakes near the camera, far from the player, are drawn: white dots on
#      the near floor.
#   F9 blending off: the text quads of the HUD are drawn opaque: black boxes around the letters.
# Each effect is measured in the toggled picture against both the picture before the key and the
# one after the second press, so falling snow and walking enemies, which change all three, cannot
# pass for an effect. God mode keeps the player alive and the camera still.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

SCENE="800x550+0+25"            # the picture without the HUD's top and bottom lines
FAR_FLOOR="800x60+0+190"        # the floor just below the horizon, at a grazing angle
NEAR_FLOOR="800x220+0+350"      # the floor in front of the camera, far from the player
HUD_LINES=("$HUD_TEXT1" "$HUD_TEXT2" "$HUD_SECONDS")
DARK='r<0.12 && g<0.12 && b<0.12'

start_xvfb
start_game
wait_for_window Glacimor 30
wait_for_first_frames 40
key_to F1 god 1
wait_message_gone settled  # "godmode on" goes away

# flip KEY SETTING NAME FIRST SECOND: NAME_a before the key, NAME_b with the key's effect and its
# message FIRST, NAME_c after the second press with its message SECOND and the picture back.
flip() {
    local key=$1 setting=$2 name=$3 value
    value=$(state "$setting")
    snap_state "${name}_a"
    catch_message "$key" "$setting" $((1 - value)) "$4" "${name}_b"
    catch_message "$key" "$setting" "$value" "$5" "${name}_c"
}

flip F3 wireframe wireframe "wireframe on" "wireframe off"
flip F7 shading shading "shading off" "shading on"
flip F9 alpha alpha "alpha off" "alpha on"
flip F8 culling culling "culling off" "culling on"
# F6, F5 and F4 nested: AF off, then mipmaps off while AF is off, then filtering off and on again
# while both are off, then mipmaps on, then AF on: each step shows on the far floor. Each state is
# taken twice, three frames apart, for the detail that stays while snow and enemies move.
again() { wait_frames 3; snap_state "${1}2"; }
twice() { snap_state "$1"; again "$1"; }
# back KEY SETTING VALUE NAME: the key turns SETTING back to VALUE; NAME and NAME2 are taken after.
back() { key_to "$1" "$2" "$3"; twice "$4"; }
twice aniso_a
catch_message F6 aniso 0 "AF off" aniso_b
again aniso_b
twice mipmap_a
catch_message F5 mipmap 0 "mipmaps off" mipmap_b
again mipmap_b
twice filtering_a
catch_message F4 filtering 0 "texture filtering off" filtering_b
again filtering_b
back F4 filtering 1 filtering_c
back F5 mipmap 1 mipmap_c
back F6 aniso 1 aniso_c
require_alive "after the toggles"

press Escape
wait_exit 30 || fail "the game did not end within 30 s of Escape"
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Escape, expected 0"
check_no_sanitizer_report
log "pictures taken, measuring"

# message NAME TEXT: the white text that starts the message line in NAME spans TEXT's length: it
# begins at x 388 (give or take the first letter's bearing) and a character is 9.6 pixels wide, the
# last one ending some 4 pixels short of its advance. Snowflakes beside the text do not count.
message() {
    local shot="$OUT/$1.bmp" text=$2 extent left right width expected
    extent=$(message_extent "$shot")
    read -r left right <<<"${extent:-0 -1}"
    width=$((right - left + 1))
    expected=$(awk -v n="${#text}" 'BEGIN { printf "%d", n * 9.6 - 4 }')
    log "$1: message from x $left, $width pixels wide ('$text': from 388, $expected wide)"
    [ "$left" -ge 384 ] && [ "$left" -le 394 ] && [ "$width" -ge $((expected - 5)) ] && [ "$width" -le $((expected + 5)) ] ||
        fail "$1: no message as long as '$text' at the start of the message line (white from x $left, $width pixels wide)"
}

# detail NAME GEOM [BLUR]: fine detail of the floor in NAME and NAME2, the difference between the grey
# picture and a blurred copy, taken where both pictures have it: a snowflake or an enemy that moved
# between the two does not count.
detail() {
    local one=() two=() blur=${3:-1.5}
    one=(\( "$OUT/$1.bmp" -crop "$2" +repage -colorspace Gray \( +clone -blur "0x$blur" \) -compose Difference -composite \))
    two=(\( "$OUT/${1}2.bmp" -crop "$2" +repage -colorspace Gray \( +clone -blur "0x$blur" \) -compose Difference -composite \))
    convert "${one[@]}" "${two[@]}" -evaluate-sequence min -format '%[fx:mean]' info:
}

# Both A and C more than FACTOR times B (or B more than FACTOR times both).
below() { fgt "$2" "$(awk -v b="$1" -v f="$4" 'BEGIN { print b * f }')" && fgt "$3" "$(awk -v b="$1" -v f="$4" 'BEGIN { print b * f }')"; }
above() { fgt "$1" "$(awk -v a="$2" -v f="$4" 'BEGIN { print a * f }')" && fgt "$1" "$(awk -v c="$3" -v f="$4" 'BEGIN { print c * f }')"; }

# F3: the scene's brightness falls to lines on black; the HUD lines keep their letters.
message wireframe_b "wireframe on"
message wireframe_c "wireframe off"
levels=()
for s in a b c; do
    levels+=("$(convert "$OUT/wireframe_$s.bmp" -crop "$SCENE" +repage -colorspace Gray -format '%[fx:mean]' info:)")
done
log "wireframe: scene brightness ${levels[*]} (before, on, off again)"
below "${levels[1]}" "${levels[0]}" "${levels[2]}" 3 || fail "F3 did not turn the scene into lines (brightness ${levels[*]})"
count_many "$OUT/wireframe_a.bmp" "$HUD_TEXT2" "$WHITE" "$HUD_TEXT1" "$YELLOW"
hud_a=("${COUNTS[@]}")
count_many "$OUT/wireframe_b.bmp" "$HUD_TEXT2" "$WHITE" "$HUD_TEXT1" "$YELLOW"
log "wireframe: hit points ${hud_a[0]} -> ${COUNTS[0]} white, FPS line ${hud_a[1]} -> ${COUNTS[1]} yellow pixels"
[ "${COUNTS[0]}" -ge $((hud_a[0] * 2 / 3)) ] && [ "${COUNTS[1]}" -ge $((hud_a[1] / 2)) ] ||
    fail "the HUD text lost its filled letters in wireframe (hit points ${hud_a[0]} -> ${COUNTS[0]}, FPS ${hud_a[1]} -> ${COUNTS[1]})"

# F7: the whole picture changes, far more than in the same time without the key.
message shading_b "shading off"
message shading_c "shading on"
off=$(coarse_change "$OUT/shading_a.bmp" "$OUT/shading_b.bmp" "$SCENE")
back=$(coarse_change "$OUT/shading_b.bmp" "$OUT/shading_c.bmp" "$SCENE")
control=$(coarse_change "$OUT/shading_a.bmp" "$OUT/shading_c.bmp" "$SCENE")
log "shading: change $off on the key, $back on the second key, $control from before to after both"
floor=$(awk -v c="$control" 'BEGIN { v = 4 * c; if (v < 0.02) v = 0.02; print v }')
fgt "$off" "$floor" && fgt "$back" "$floor" || fail "F7 did not change the look of the scene ($off, $back; control $control)"

# F9: black boxes behind the HUD's letters.
message alpha_b "alpha off"
message alpha_c "alpha on"
dark=()
for s in a b c; do
    count_many "$OUT/alpha_$s.bmp" "${HUD_LINES[0]}" "$DARK" "${HUD_LINES[1]}" "$DARK" "${HUD_LINES[2]}" "$DARK"
    dark+=("$((COUNTS[0] + COUNTS[1] + COUNTS[2]))")
done
log "alpha: ${dark[*]} black pixels in the HUD lines (before, off, on again)"
[ "${dark[1]}" -ge 60 ] && [ "${dark[1]}" -ge $((4 * dark[0] + 20)) ] && [ "${dark[1]}" -ge $((4 * dark[2] + 20)) ] ||
    fail "F9 did not draw the HUD's letters on opaque boxes (${dark[*]} black pixels)"

# F8: white snowflakes on the floor before the camera, where the culled snow is not drawn.
# "culling off" shares its picture with the near snow, which reaches the message line: its text is
# judged with "culling on", when that snow is culled again.
message culling_c "culling on"
flakes=()
for s in a b c; do flakes+=("$(count_pixels "$OUT/culling_$s.bmp" "$NEAR_FLOOR" "$WHITE")"); done
log "culling: ${flakes[*]} white pixels on the near floor (before, off, on again)"
[ "${flakes[1]}" -ge $((2 * flakes[0] + 40)) ] && [ "${flakes[1]}" -ge $((2 * flakes[2] + 40)) ] ||
    fail "F8 did not draw the far snow (${flakes[*]} white pixels on the near floor)"

# F6, then F5 while AF is off: fine detail of the far floor.
message aniso_b "AF off"
message mipmap_b "mipmaps off"
a6=$(detail aniso_a "$FAR_FLOOR"); b6=$(detail aniso_b "$FAR_FLOOR"); c6=$(detail aniso_c "$FAR_FLOOR")
a5=$(detail mipmap_a "$FAR_FLOOR"); b5=$(detail mipmap_b "$FAR_FLOOR"); c5=$(detail mipmap_c "$FAR_FLOOR")
log "far floor detail: AF $a6 -> off $b6 (mipmaps $a5 -> off $b5 -> on $c5) -> AF on $c6"
below "$b6" "$a6" "$c6" 1.15 || fail "F6 did not blur the far floor ($a6 -> $b6 -> $c6)"
above "$b5" "$a5" "$c5" 1.15 || fail "F5 did not sharpen the far floor without mipmaps ($a5 -> $b5 -> $c5)"

# F4 while mipmaps are off: nearest filtering makes the floor grainier at the scale of single
# pixels, most clearly on the near floor.
message filtering_b "texture filtering off"
a4=$(detail filtering_a "$NEAR_FLOOR" 0.7); b4=$(detail filtering_b "$NEAR_FLOOR" 0.7); c4=$(detail filtering_c "$NEAR_FLOOR" 0.7)
log "near floor pixel detail without mipmaps: $a4 -> filtering off $b4 -> on $c4"
above "$b4" "$a4" "$c4" 1.2 || fail "F4 did not make the floor grainier ($a4 -> $b4 -> $c4)"

pass "F3 to F9 announce themselves and change the picture, and a second press changes it back"
