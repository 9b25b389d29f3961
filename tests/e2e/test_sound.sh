#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The game's sound as SDL's disk audio driver records it: the wind from the start; the stun burst
# and the hit burst each heard right after the frame that fired it; M silences the output and
# brings it back, and so does the window's keyboard focus, lost and found again; the fall at
# "GAME OVER" is heard. The file holds the game's output (32-bit float
# stereo at 48 kHz) as it was played, so its length is the sound played so far;
# tools/play/loudness.cpp measures it.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

LOUDNESS=${GLACIMOR_LOUDNESS:-$(dirname "$GAME")/glacimor_loudness}
[ -x "$LOUDNESS" ] || fail "no loudness tool at $LOUDNESS"
SOUND=$OUT/sound.raw
rm -f "$SOUND"

played() { "$LOUDNESS" len "$SOUND" 2>/dev/null || echo 0; }
played_past() { fgt "$(played)" "$1"; }
# wait_played SECONDS: until the file holds that much sound.
wait_played() { wait_until 30 "$1 s of sound played (now $(played) s)" played_past "$1"; }
plus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a + b }'; }

start_xvfb
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$SOUND
start_game
wait_for_window Glacimor 30
wait_for_first_frames 40

# The wind, from the start. The first enemy comes 2 s after SDL started, which on a busy machine is
# already within the first second of sound: the median of its 50 ms is the wind alone.
wait_played 1.5
read -r _ wind_loudest wind < <("$LOUDNESS" rms "$SOUND" 0.2 1.4)
log "the wind: RMS $wind (median of 50 ms), loudest 50 ms $wind_loudest"
fgt "$wind" 0.004 || fail "no wind at the start (50 ms at RMS $wind)"
fgt 0.2 "$wind_loudest" || fail "the start is loud (50 ms at RMS $wind_loudest)"
# What a sound must rise over: well above the wind (an enemy coming far off stays under it).
times() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.5f", a * b }'; }
heard=$(times "$wind" 2.5)

# hear_key KEY NAME: KEY fires a sound; its onset lies between the press and a fifth of a second
# after the second frame drawn since (the frame that took the key, with one more for the pump).
hear_key() {
    local key=$1 name=$2 before frame after onset
    before=$(played)
    frame=$(state frame)
    press "$key"
    wait_state 30 "two frames after $name" "v[\"frame\"] >= $frame + 2"
    after=$(played)
    wait_played "$(plus "$after" 0.6)"
    onset=$("$LOUDNESS" onset "$SOUND" "$before" "$(plus "$after" 0.6)" "$heard")
    log "$name: pressed at $before s of sound, two frames later at $after s; heard from $onset s"
    [ "$onset" != -1 ] || fail "$name: nothing heard over the wind after the key"
    fgt "$(plus "$after" 0.2)" "$onset" || fail "$name: heard only at $onset s, the frame was at $after s"
}

# God mode keeps the player alive until the end is wanted: a fall while the sound is off would be silent.
key_to F1 god 1
hear_key 1 "the stun burst"
wait_played "$(plus "$(played)" 2)" # the glass rings out
hear_key 2 "the hit burst"

# sound_after WHAT silent|audible: after the second frame from now, some 0.6 s of the sound within
# 6 s is exactly silent, or at least a quarter of the first second's wind. A loaded desktop may
# hand the focus over late and the wind's gusts swing it by half, so neither a fixed moment nor
# the full level would hold; silence is exactly zero, which keeps the two far apart.
sound_after() {
    local from at rms
    wait_frames 2
    from=$(played)
    for at in 0.6 1.2 1.8 2.4 3.0 3.6 4.2 4.8 5.4; do
        at=$(plus "$from" "$at")
        wait_played "$(plus "$at" 0.6)"
        # The RMS of the whole stretch for silence, its 50 ms median for the sound.
        if [ "$2" = silent ]; then
            read -r rms _ < <("$LOUDNESS" rms "$SOUND" "$at" "$(plus "$at" 0.6)")
            [ "$rms" = 0.000000 ] || continue
        else
            read -r _ _ rms < <("$LOUDNESS" rms "$SOUND" "$at" "$(plus "$at" 0.6)")
            fgt "$rms" "$(times "$wind" 0.25)" || continue
        fi
        log "$1: at $from s of sound; $2 from $at s (RMS $rms)"
        return
    done
    fail "$1: not $2 within 6 s of sound (RMS $rms at the last)"
}

# M: silence, exactly, then the sound again.
wait_played "$(plus "$(played)" 1)"
key_to m sound 0
sound_after "M, sound off" silent
key_to m sound 1
sound_after "M, sound on" audible

# The keyboard focus: the window minimised loses it and the sound fades out; back in front, in.
xdotool windowminimize "$WID"
sound_after "the window minimised" silent
xdotool windowactivate "$WID" 2>/dev/null || xdotool windowmap "$WID"
sound_after "the window in front again" audible

# The fall: the enemies wear the player down within about a minute of game time.
key_to F1 god 0
wait_state 150 "end of the game" 'v["endgame"] == 1'
end=$(played)
wait_played "$(plus "$end" 2.5)"
read -r fall fall_loudest _ < <("$LOUDNESS" rms "$SOUND" "$(plus "$end" 0.2)" "$(plus "$end" 2.2)")
log "GAME OVER at $end s of sound: RMS $fall over the next 2 s, loudest 50 ms $fall_loudest"
fgt "$fall" "$(times "$wind" 2.5)" || fail "the fall is not heard at GAME OVER (RMS $fall)"

press Escape
expect_exit sound 0
pass "the wind from the start, the stun and the hit right after their frames, M and the focus off and on, the fall at GAME OVER"
