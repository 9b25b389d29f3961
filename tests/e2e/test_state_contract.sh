#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The end-to-end tests judge the game only through its state contract (src/game/state_report.h).
# A game that lacks it (here: the program with the contract's symbol renamed, as a build without
# it or a stripping of it would leave it) must fail a test with the missing contract named, never
# with a verdict about the game drawn from keys read as empty; and a key the state lacks fails the
# test with the key's name, even where it was read inside $(...).
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

[ -n "$(probe_library)" ] || fail "no probe (GLACIMOR_STATE_PROBE='${GLACIMOR_STATE_PROBE:-}')"

# The program without the contract: the same bytes, the symbol's name changed in place.
cp "$GAME" "$OUT/glacimor"
perl -pi -e 's/glacimor_report_state/glacimor_report_stat_/g' "$OUT/glacimor"
nm -D "$OUT/glacimor" | grep -q ' glacimor_report_state$' && fail "the contract's symbol is still there"

# play SCRIPT GAME: runs the lines of SCRIPT as a test of their own (lib.sh, a display, GAME started
# and its window waited for), with its output in $OUT/play.log; its exit status.
play() {
    local script=$OUT/play-test.sh
    { echo "source '$REPO/tools/play/lib.sh'"
      echo 'e2e_init "$@"; start_xvfb; start_game; wait_for_window Glacimor 30'
      echo "$1"; } >"$script"
    bash "$script" "$2" "$REPO" "$OUT" >"$OUT/play.log" 2>&1
}

play 'wait_state 30 "god mode off at the start" '"'"'v["god"] == 0'"'"'; pass' "$OUT/glacimor" &&
    fail "a test passed against a game without the state contract"
grep -q "FAIL \[play-test\]: the game reports no state: it lacks the contract glacimor_report_state" "$OUT/play.log" ||
    fail "the failure against a game without the contract does not name it: $(grep FAIL "$OUT/play.log" | head -2)"
log "without the contract: $(grep -m1 FAIL "$OUT/play.log")"

play 'wait_state 30 "a frame" '"'"'v["frame"] >= 1'"'"'; x=$(state godmode); pass' "$GAME" &&
    fail "a test passed that read a key the state lacks"
grep -q "FAIL \[play-test\]: the game's state has no key 'godmode'" "$OUT/play.log" ||
    fail "the failure for a missing key does not name it: $(grep FAIL "$OUT/play.log" | head -2)"
log "a missing key: $(grep -m1 FAIL "$OUT/play.log" | cut -c1-100)"

play 'wait_state 30 "the god mode" '"'"'v["godmode"] == 1'"'"'; pass' "$GAME" &&
    fail "a test passed that waited on a key the state lacks"
grep -q "FAIL \[play-test\]: the game's state has no key 'godmode'" "$OUT/play.log" ||
    fail "the failure for a missing key waited on does not name it: $(grep FAIL "$OUT/play.log" | head -2)"
pass "a game without the state contract, and a key the state lacks, fail the test by their names"
