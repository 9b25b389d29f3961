#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Times two builds of the game in one run: the working tree's benchmark and the one of a git
# revision, each scene run by both in turn (A B, then B A, ...), so that a machine that gets
# busier or quieter during the run weighs on both alike. Prints, per scene, the median of each
# build's per-run medians and the ratio new/old.
#
#   scripts/bench-compare.sh REV
#
# Settings, from the environment (make bench-compare passes them on):
#   SCENES   scene names separated by ';' (default: floor;start;peak, culling on, shading on;spaced peak)
#   ROUNDS   runs of each scene by each build (5)
#   FRAMES   timed frames per run (40), WARMUP untimed frames before them (5)
#   SIZE     1280x720 (4x multisampling, as the game) or 800x600 (none)
#   STARTUP  rounds (the first ones) that also start each build's real program, once with an
#            empty shader cache and once with a warm one (ROUNDS; 0 skips them)
#   KEEP     1 keeps the other revision's build in build/bench-compare for the next run
#
# The other revision is taken with `git archive` into build/bench-compare/<commit>/src and built
# there (Release); the working tree and its git state are not touched. A scene that only one of
# the two builds has is skipped with a note. Runs on the current display when DISPLAY is set,
# else on a private virtual display.
set -euo pipefail

usage() { sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
[ $# -eq 1 ] && [ -n "$1" ] || usage
REV=$1

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

SCENES=${SCENES:-"floor;start;peak, culling on, shading on;spaced peak"}
ROUNDS=${ROUNDS:-5}
FRAMES=${FRAMES:-40}
WARMUP=${WARMUP:-5}
SIZE=${SIZE:-1280x720}
STARTUP=${STARTUP:-$ROUNDS}
KEEP=${KEEP:-0}
JOBS=${JOBS:-2}

# Everything below, the builds included, runs with a display: a private one with a window manager
# when there is none.
if [ -z "${DISPLAY:-}" ]; then
  export SCENES ROUNDS FRAMES WARMUP SIZE STARTUP KEEP JOBS
  exec "$root/scripts/with-xvfb.sh" --window-manager "$0" "$REV"
fi

commit=$(git rev-parse --verify --quiet "$REV^{commit}") || { echo "bench-compare: $REV is not a commit" >&2; exit 2; }
short=$(git rev-parse --short "$commit")

# ---- The two builds --------------------------------------------------------------------------
newBuild=$root/build/bench
oldDir=$root/build/bench-compare/$commit
oldSrc=$oldDir/src
oldBuild=$oldDir/build

buildBench() { # source dir, build dir
  cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release -DGLACIMOR_TESTS=OFF >/dev/null
  cmake --build "$2" -j "$JOBS" --target glacimor_bench >/dev/null
}

echo "bench-compare: building the working tree's benchmark in build/bench" >&2
buildBench "$root" "$newBuild"

if [ ! -x "$oldBuild/glacimor_bench" ]; then
  echo "bench-compare: building $short's benchmark in ${oldDir#"$root"/}" >&2
  rm -rf "$oldDir"
  mkdir -p "$oldSrc"
  git archive "$commit" | tar -x -C "$oldSrc"
  if ! grep -q glacimor_bench "$oldSrc/CMakeLists.txt"; then
    echo "bench-compare: $short has no benchmark (glacimor_bench) to compare with" >&2
    rm -rf "$oldDir"
    exit 1
  fi
  buildBench "$oldSrc" "$oldBuild"
fi
cleanup() {
  if [ "$KEEP" != 1 ]; then rm -rf "$oldDir"; rmdir "$root/build/bench-compare" 2>/dev/null || true; fi
}
trap cleanup EXIT

# ---- The runs --------------------------------------------------------------------------------
work=$(mktemp -d "${TMPDIR:-/tmp}/bench-compare.XXXXXX")
trap 'rm -rf "$work"; cleanup' EXIT
results=$work/results.tsv # scene, build, round, milliseconds
: >"$results"
loads=()

benchOf() { [ "$1" = old ] && echo "$oldBuild/glacimor_bench" || echo "$newBuild/glacimor_bench"; }
gameOf() { [ "$1" = old ] && echo "$oldBuild/glacimor" || echo "$newBuild/glacimor"; }
dataOf() { [ "$1" = old ] && echo "$oldSrc" || echo "$root"; }
probe=$newBuild/libglacimor_probe.so

# One run of one scene by one build; appends its median, or nothing when the build lacks the scene.
runScene() { # build, scene, round
  local out=$work/run.txt median
  if ! "$(benchOf "$1")" --only "$2" --size "$SIZE" --frames "$FRAMES" --warmup "$WARMUP" --startup-runs 0 \
      >"$out" 2>"$work/run.err"; then
    echo "bench-compare: the $1 build failed on \"$2\":" >&2
    cat "$work/run.err" >&2
    exit 1
  fi
  grep -q GL_RENDERER "$out" && grep -m1 GL_RENDERER "$out" | sed 's/^ *//' >"$work/renderer.txt"
  median=$(awk -F'|' -v scene="$2" '
    NF > 6 { name = $2; gsub(/^ +| +$/, "", name); if (name == scene) { m = $5; gsub(/ /, "", m); print m } }' "$out")
  [ -n "$median" ] && printf '%s\t%s\t%s\t%s\n' "$2" "$1" "$3" "$median" >>"$results"
  return 0
}

# One start-up of one build's real program with the new build's probe, started as the tests start
# it (tools/play/launch.sh): the time to the first
# swap, and the second frame (where a change of GL state in the first frame shows as a stall).
# With an empty shader cache (a new one for each run) or a warm one (the build's own, filled by
# one start-up before the rounds); the user's own cache is not touched.
runStartup() { # build, round, cold|warm ("" only fills the warm cache)
  local out=$work/startup.txt cache
  if [ "$3" = cold ]; then cache=$(mktemp -d "$work/cache.XXXXXX"); else cache=$work/cache-$1; mkdir -p "$cache"; fi
  rm -f "$out"
  MESA_SHADER_CACHE_DIR="$cache" GLACIMOR_STARTUP_PROBE_OUT="$out" GLACIMOR_STARTUP_PROBE_FRAMES=2 \
    timeout 60 "$root/tools/play/launch.sh" "$(dataOf "$1")" "$probe" "$(gameOf "$1")" >/dev/null 2>"$work/startup.err" || {
    echo "bench-compare: the $1 program did not start:" >&2
    cat "$work/startup.err" >&2
    exit 1
  }
  [ "$3" = cold ] && rm -rf "$cache"
  [ -n "$3" ] || return 0
  local cacheName; [ "$3" = cold ] && cacheName="empty shader cache" || cacheName="warm shader cache"
  awk -v b="$1" -v r="$2" -v c="$cacheName" '
    $1 == "startup_ms" { printf "start-up, %s\t%s\t%s\t%s\n", c, b, r, $2 }
    $1 == "frame_ms" && $2 == 2 { printf "second frame, %s\t%s\t%s\t%s\n", c, b, r, $3 }' "$out" >>"$results"
}

IFS=';' read -r -a sceneList <<<"$SCENES"
if [ "$STARTUP" -gt 0 ]; then for build in old new; do runStartup "$build" 0 ""; done; fi
startLoad=$(cut -d' ' -f1-3 /proc/loadavg)
startTime=$(date +%s)
for round in $(seq 1 "$ROUNDS"); do
  # A B in odd rounds, B A in even ones: neither build always runs first.
  if [ $((round % 2)) -eq 1 ]; then order="old new"; else order="new old"; fi
  loads+=("$(cut -d' ' -f1 /proc/loadavg)")
  echo "bench-compare: round $round of $ROUNDS (load $(cut -d' ' -f1-3 /proc/loadavg))" >&2
  for scene in "${sceneList[@]}"; do
    for build in $order; do runScene "$build" "$scene" "$round"; done
  done
  if [ "$round" -le "$STARTUP" ]; then
    for cache in cold warm; do
      for build in $order; do runStartup "$build" "$round" "$cache"; done
    done
  fi
done
endLoad=$(cut -d' ' -f1-3 /proc/loadavg)
loads+=("$(cut -d' ' -f1 /proc/loadavg)")

# ---- The table -------------------------------------------------------------------------------
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) exit; print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
valuesOf() { awk -F'\t' -v s="$1" -v b="$2" '$1 == s && $2 == b { print $4 }' "$results"; }

newName=$(git rev-parse --short HEAD)
git diff --quiet HEAD -- 2>/dev/null || newName="$newName + uncommitted changes"
echo
echo "old: $short $(git log -1 --format=%s "$commit")"
echo "new: the working tree ($newName)"
echo "$(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -1), $(nproc) CPUs; $(cat "$work/renderer.txt" 2>/dev/null || echo '?')"
echo "$SIZE, $ROUNDS rounds of $FRAMES timed frames (after $WARMUP) per scene and build, interleaved;" \
     "$(( $(date +%s) - startTime )) s"
lmin=$(printf '%s\n' "${loads[@]}" | sort -g | head -1)
lmax=$(printf '%s\n' "${loads[@]}" | sort -g | tail -1)
echo "load average at the start $startLoad, at the end $endLoad; 1-minute load between rounds $lmin to $lmax"
echo
printf '| %-32s | %10s | %10s | %7s | %-19s |\n' "scene" "old ms" "new ms" "new/old" "per-round new/old"
printf '|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..34})" "$(printf -- '-%.0s' {1..12})" \
  "$(printf -- '-%.0s' {1..12})" "$(printf -- '-%.0s' {1..9})" "$(printf -- '-%.0s' {1..21})"
notes=()
for scene in "${sceneList[@]}" "start-up, empty shader cache" "second frame, empty shader cache" \
    "start-up, warm shader cache" "second frame, warm shader cache"; do
  oldValues=$(valuesOf "$scene" old)
  newValues=$(valuesOf "$scene" new)
  if [ -z "$oldValues" ] && [ -z "$newValues" ]; then
    case $scene in start-up,*|second\ frame,*) continue ;; esac
    notes+=("\"$scene\": neither build has this scene")
    continue
  fi
  if [ -z "$oldValues" ] || [ -z "$newValues" ]; then
    notes+=("\"$scene\" skipped: only the $([ -z "$oldValues" ] && echo new || echo old) build has it")
    continue
  fi
  oldMedian=$(printf '%s\n' "$oldValues" | median)
  newMedian=$(printf '%s\n' "$newValues" | median)
  # Each round's ratio, to show whether the rounds agree.
  ratios=$(join -t $'\t' \
    <(awk -F'\t' -v s="$scene" '$1 == s && $2 == "old" { print $3 "\t" $4 }' "$results" | sort) \
    <(awk -F'\t' -v s="$scene" '$1 == s && $2 == "new" { print $3 "\t" $4 }' "$results" | sort) |
    awk -F'\t' '$2 > 0 { print $3 / $2 }' | sort -g)
  spread=$(printf '%s\n' "$ratios" | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%.3f-%.3f", lo, hi }')
  printf '| %-32s | %10.2f | %10.2f | %7.3f | %-19s |\n' "$scene" "$oldMedian" "$newMedian" \
    "$(awk -v a="$newMedian" -v b="$oldMedian" 'BEGIN { print a / b }')" "$spread"
done
for note in "${notes[@]+"${notes[@]}"}"; do echo "note: $note"; done
