#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The end-to-end tests under load: runs them RUNS times (default 5) with BUSY busy loops per core
# (default 2) running all along, as on a shared machine where others build beside, then prints how
# many runs each test passed.
#
#   scripts/test-stress.sh [RUNS] [BUILD_DIR] [BUSY]   (default 5, build/test, 2;
#                                                       `make test-stress RUNS=N BUSY=N`)
#
# Exits 0 only when every test passed every run. Each run's CTest output is kept in
# BUILD_DIR/stress/run-K.log, and the pictures and logs of a failed test in
# BUILD_DIR/stress/run-K/<test>.
set -u
cd "$(dirname "$0")/.."
runs=${1:-5}
build=${2:-build/test}
per_core=${3:-2}
stress=$build/stress
[ -f "$build/CTestTestfile.cmake" ] || { echo "test-stress: no test build in $build (make build-test)" >&2; exit 2; }
rm -rf "$stress"
mkdir -p "$stress"

cores=$(nproc 2>/dev/null || echo 2)
busy=()
stop_busy() {
    local pid
    for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${busy[@]}"; do wait "$pid" 2>/dev/null; done
    busy=()
}
trap stop_busy EXIT
trap 'exit 130' INT TERM
for _ in $(seq 1 $((cores * per_core))); do
    bash -c 'while :; do :; done' &
    busy+=($!)
done
echo "test-stress: $runs runs of the end-to-end tests, $((cores * per_core)) busy loops ($per_core per core;" \
    "load now: $(cut -d' ' -f1-3 /proc/loadavg))"

declare -A passed=() seen=()
names=()
for run in $(seq 1 "$runs"); do
    start=$(date +%s)
    ctest --test-dir "$build" -L e2e --output-on-failure -j 1 >"$stress/run-$run.log" 2>&1
    # CTest's result lines: "  3/10 Test  #5: e2e.test_play ...........   Passed   31.20 sec"
    failed=()
    while read -r name result; do
        if [ -z "${seen[$name]:-}" ]; then
            seen[$name]=1
            names+=("$name")
            passed[$name]=0
        fi
        if [ "$result" = Passed ]; then
            passed[$name]=$((passed[$name] + 1))
        else
            failed+=("$name")
            mkdir -p "$stress/run-$run"
            cp -r "$build/tests/e2e-out/${name#e2e.}" "$stress/run-$run/" 2>/dev/null
        fi
    done < <(sed -nE 's/^ *[0-9]+\/[0-9]+ +Test +#[0-9]+: +([^ ]+) +\.*(\*\*\*)? *([A-Za-z]+).*/\1 \3/p' "$stress/run-$run.log")
    echo "run $run of $runs: $(( $(date +%s) - start )) s, load $(cut -d' ' -f1 /proc/loadavg), ${#failed[@]} failed${failed[*]:+: ${failed[*]}}"
done
stop_busy

echo "test-stress: passed runs per test"
all=0
for name in "${names[@]}"; do
    printf '  %-28s %d/%d\n' "$name" "${passed[$name]}" "$runs"
    [ "${passed[$name]}" -eq "$runs" ] || all=1
done
[ "${#names[@]}" -gt 0 ] || { echo "test-stress: no end-to-end test ran (see $stress/run-1.log)" >&2; exit 1; }
if [ "$all" -eq 0 ]; then
    echo "test-stress: every test passed $runs of $runs"
else
    echo "test-stress: some tests failed; CTest logs in $stress/run-K.log, pictures in $stress/run-K/" >&2
fi
exit "$all"
