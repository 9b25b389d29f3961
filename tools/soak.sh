#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# A long real play on a virtual display with random input, to see that the game stays sound: no
# key lost, memory that does not grow with what was drawn, and Escape that still ends it at once.
#
#   tools/soak.sh [--minutes N] [--seed S] [--game PATH] [--out DIR]
#   make soak                          (the release build, 10 minutes)
#
# The player turns god mode on with F1 first; then, until the time is up, random input: walking
# (W, A, S, D held for up to 2 s, sometimes two at once), turning (mouse moves, sometimes hundreds
# in a row), the wheel, the attacks (both buttons and the keys 1 and 2, often in quick series),
# and the settings keys F1 to F9, always pressed twice, so every setting ends as it began. A lost
# key would leave its setting switched: at the end the FPS line must still be there (F2), and one
# more F1 must say "godmode off" (F1; the player may have died meanwhile, in a pair's gap, which
# tells nothing). The process's resident memory is sampled every 30 s. At the end Escape must end
# the game within 2 s with status 0. Prints a summary; exits 1 when one of those checks fails.
set -u

repo=$(cd "$(dirname "$0")/.." && pwd)
minutes=10
seed=13
game=$repo/build/release/glacimor
out=$repo/build/soak
while [ $# -gt 0 ]; do
    case $1 in
    --minutes) minutes=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --game) game=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "usage: $0 [--minutes N] [--seed S] [--game PATH] [--out DIR]" >&2; exit 2 ;;
    esac
done

# The helpers of playing the game from scripts (tools/play/lib.sh): a private Xvfb with a window
# manager, the game started from the repository, pictures, and everything stopped when the script
# ends.
source "$repo/tools/play/lib.sh"
e2e_init "$game" "$repo" "$out"
RANDOM=$seed

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$GAME_PID/status" 2>/dev/null; }
hwm_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$GAME_PID/status" 2>/dev/null; }
mb() { awk -v k="$1" 'BEGIN { printf "%.1f MB", k / 1024 }'; }
pause() { sleep "$(awk -v ms="$1" 'BEGIN { printf "%.3f", ms / 1000 }')"; }

start_xvfb
start_game
wait_for_window Glacimor 30
wait_for_first_frames 60
press F1
start_rss=$(rss_kb)
log "memory at the start: $(mb "$start_rss") resident"
echo "seconds,rss_kb" >"$OUT/memory.csv"

# One random action of the player.
walk_keys=(w a s d)
act() {
    local r=$((RANDOM % 100)) key key2 n i args
    if [ $r -lt 25 ]; then
        key=${walk_keys[RANDOM % 4]}
        key2=""
        [ $((RANDOM % 4)) -eq 0 ] && key2=${walk_keys[RANDOM % 4]}
        xdotool keydown $key ${key2:+keydown $key2}
        pause $((100 + RANDOM % 1900))
        xdotool keyup $key ${key2:+keyup $key2}
    elif [ $r -lt 45 ]; then
        # Turning: one move, or a long series in one go, as a hand on a mouse makes them.
        n=1
        [ $((RANDOM % 3)) -eq 0 ] && n=$((50 + RANDOM % 450))
        args=()
        for ((i = 0; i < n; i++)); do
            args+=(mousemove_relative -- $((RANDOM % 41 - 20)) $((RANDOM % 21 - 10)))
        done
        xdotool "${args[@]}"
    elif [ $r -lt 55 ]; then
        xdotool click $((4 + RANDOM % 2))
    elif [ $r -lt 80 ]; then
        # Attacks, once or in a quick series.
        n=$((1 + (RANDOM % 3 == 0 ? RANDOM % 10 : 0)))
        for ((i = 0; i < n; i++)); do
            case $((RANDOM % 4)) in
            0) xdotool click 1 ;;
            1) xdotool click 3 ;;
            2) xdotool key 1 ;;
            3) xdotool key 2 ;;
            esac
        done
    elif [ $r -lt 90 ]; then
        # A pair; F1's in quick succession, so that god mode is seldom off for long.
        key=F$((1 + RANDOM % 9))
        xdotool key $key
        if [ "$key" = F1 ]; then pause $((RANDOM % 100)); else pause $((50 + RANDOM % 1000)); fi
        xdotool key $key
    else
        pause $((100 + RANDOM % 900))
    fi
}

ok=1
begin=$(date +%s)
end=$((begin + minutes * 60))
next_sample=$begin
actions=0
while [ "$(date +%s)" -lt "$end" ]; do
    require_alive "after $actions actions"
    now=$(date +%s)
    if [ "$now" -ge "$next_sample" ]; then
        echo "$((now - begin)),$(rss_kb)" >>"$OUT/memory.csv"
        next_sample=$((now + 30))
    fi
    act
    actions=$((actions + 1))
done
# Settle: no key held; the memory and the picture of the end.
xdotool keyup w keyup a keyup s keyup d
end_rss=$(rss_kb)
peak_rss=$(hwm_kb)
echo "$(( $(date +%s) - begin )),$end_rss" >>"$OUT/memory.csv"
screenshot end
# "GAME OVER" and the survival line below it, as tests/e2e/test_gameover.sh finds them; the FPS line.
count_many "$SHOT" "330x45+290+200" "$WHITE" "300x28+285+250" "$WHITE" "$HUD_TEXT1" "$YELLOW"
died=$([ "${COUNTS[0]}" -ge 400 ] && [ "${COUNTS[1]}" -ge 200 ] && echo yes || echo no)
fps_line=${COUNTS[2]}
# One more F1: "godmode off" (one letter longer than "godmode on") if every pair kept god mode on.
# The message lives a second; pictures are taken until it shows, 5 s at most.
press F1
godmode=""
deadline=$(( $(date +%s%3N) + 5000 ))
while [ "$(date +%s%3N)" -lt "$deadline" ]; do
    snap godmode
    count_many "$SHOT" "$HUD_TEXT3" "$WHITE" "14x22+486+578" "$WHITE"
    if [ "${COUNTS[0]}" -ge 40 ]; then
        godmode=$([ "${COUNTS[1]}" -ge 4 ] && echo off || echo on)
        break
    fi
done

start_ms=$(date +%s%3N)
press Escape
if wait_exit 2; then
    escape_ms=$(( $(date +%s%3N) - start_ms ))
else
    escape_ms=""
    wait_exit 30
fi

echo
echo "Soak: $minutes min of random play (seed $seed), $actions actions, $game"
echo "  memory: $(mb "$start_rss") at the start, $(mb "$end_rss") at the end, peak $(mb "$peak_rss") (samples: $OUT/memory.csv)"
echo "  the player $([ "$died" = yes ] && echo "died" || echo "is alive") at the end (death tells nothing: god mode is off between the two F1 of a pair)"
if [ "$fps_line" -ge 20 ] && [ "$godmode" = off ]; then
    echo "  no settings key lost: the FPS line is there, and one more F1 says \"godmode off\""
else
    echo "  a settings key was lost: FPS line $fps_line yellow pixels, one more F1 says \"godmode ${godmode:-?}\" (pictures: $OUT)"
    ok=0
fi
if [ -n "$escape_ms" ] && [ "${GAME_STATUS:-1}" -eq 0 ]; then
    echo "  Escape ended the game in $escape_ms ms with status 0"
else
    echo "  Escape did not end the game within 2 s with status 0 (status ${GAME_STATUS:-none})"
    ok=0
fi
[ $ok -eq 1 ] || exit 1
