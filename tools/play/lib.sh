# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Playing the real glacimor from scripts: the end-to-end tests, the demo, the soak and the Windows
# check run the game on a virtual X display of their own, play it with xdotool and judge it by
# screenshots, by the state the game reports through the probe (tools/play/probe.cpp) and by its
# exit status.
#
# A script begins with:
#   source "$(dirname "$0")/../../tools/play/lib.sh"   # from tests/e2e; adjust the path elsewhere
#   e2e_init "$@"          # <path-to-glacimor> <repo-root> <output-dir>
# and then calls start_xvfb, start_game, wait_for_window, screenshot ... The display and the game are
# stopped when the script ends, however it ends.

set -u

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"

# ImageMagick's worker threads spin against the game's software renderer for the two cores; one is enough.
export MAGICK_THREAD_LIMIT=1

# Screen of the virtual display; the game opens full screen, so this is also the game's window.
SCREEN_W=800
SCREEN_H=600

GAME=""
REPO=""
OUT=""
TEST_NAME=""
GAME_PID=""
GAME_DIR=""
GAME_STATUS=""
T0_NS=0

log() {
    printf '[%s %6.2fs] %s\n' "$TEST_NAME" "$(elapsed)" "$*"
}

# Seconds since e2e_init, with two decimals.
elapsed() {
    local now
    now=$(date +%s%N)
    awk -v a="$now" -v b="$T0_NS" 'BEGIN { printf "%.2f", (a - b) / 1e9 }'
}

fail() {
    # What the state could not tell comes first: without it, the verdict below may be about the
    # contract, not the game.
    [ -n "$OUT" ] && [ -s "$OUT/state.fault" ] && echo "FAIL [$TEST_NAME]: $(cat "$OUT/state.fault")" >&2
    echo "FAIL [$TEST_NAME]: $*" >&2
    if [ -n "$OUT" ] && [ -s "$OUT/game.stderr" ]; then
        echo "--- game stderr (last lines) ---" >&2
        tail -n 20 "$OUT/game.stderr" >&2
    fi
    [ -n "$OUT" ] && echo "screenshots and logs: $OUT" >&2
    exit 1
}

pass() {
    # A key the state lacked where the script could not stop (in $(state KEY)) fails it still.
    [ -n "$OUT" ] && [ -s "$OUT/state.fault" ] && fail "a key of the state was missing on the way"
    log "PASS${1:+: $1}"
    exit 0
}

e2e_init() {
    [ $# -ge 3 ] || { echo "usage: $0 <path-to-glacimor> <repo-root> <output-dir>" >&2; exit 2; }
    GAME=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
    REPO=$(cd "$2" && pwd)
    TEST_NAME=$(basename "$0" .sh)
    OUT=$3/$TEST_NAME
    T0_NS=$(date +%s%N)
    rm -rf "$OUT"
    mkdir -p "$OUT"
    OUT=$(cd "$OUT" && pwd)
    [ -f "$GAME" ] || fail "no game program at $GAME"
    for tool in Xvfb xdotool import convert compare xdpyinfo; do
        command -v "$tool" >/dev/null || fail "the tool '$tool' is not installed"
    done
    trap e2e_cleanup EXIT
}

e2e_cleanup() {
    [ -n "$HOLD_FILE" ] && rm -f "$HOLD_FILE"
    if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill -KILL "$GAME_PID" 2>/dev/null
        wait "$GAME_PID" 2>/dev/null
    fi
    wm_stop
    xvfb_stop
}

# start_xvfb [--no-window-manager]: starts a private Xvfb (scripts/xvfb.sh) with a window manager,
# as on a desktop. The window manager matters: SDL asks it to put the window in and out of full
# screen, and the window's close request comes from it.
start_xvfb() {
    xvfb_start "${SCREEN_W}x${SCREEN_H}x24" "$OUT" || fail "$XVFB_ERROR"
    if [ "${1:-}" = --no-window-manager ]; then
        log "Xvfb on $DISPLAY (${SCREEN_W}x${SCREEN_H}), no window manager"
        return 0
    fi
    wm_start "$OUT" || fail "$XVFB_ERROR"
    log "Xvfb and openbox on $DISPLAY (${SCREEN_W}x${SCREEN_H})"
}

# Makes a private copy of the game's data folders, for tests that break them.
copy_game_data() {
    GAME_DIR="$OUT/gamedir"
    mkdir -p "$GAME_DIR"
    cp -r "$REPO/textures" "$REPO/shader" "$GAME_DIR/"
}

# The probe (tools/play/probe.cpp): CTest names it in GLACIMOR_STATE_PROBE; a script run by hand
# finds it in the build folder of the game it plays.
probe_library() {
    local probe=${GLACIMOR_STATE_PROBE:-$(dirname "$GAME")/libglacimor_probe.so}
    [ -f "$probe" ] && echo "$probe"
}

# launch_game DIR PROBE COMMAND...: the one way every script and the benchmark start the real game:
# from DIR (where it finds textures/ and shader/), with the probe PROBE preloaded (none when empty)
# and the libraries of PLAY_PRELOAD after it; what the probe does is said by the GLACIMOR_*
# variables of its environment (tools/play/probe.cpp). Replaces the calling shell: call it in a
# subshell, or as a script's last word (tools/play/launch.sh).
launch_game() {
    local dir=$1 probe=$2
    shift 2
    cd "$dir" || exit 127
    [ -n "$probe" ] || exec "$@"
    # The probe is loaded ahead of the sanitizers' runtime, which would otherwise refuse to start.
    LD_PRELOAD="$probe${PLAY_PRELOAD:+ $PLAY_PRELOAD}" \
        ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" exec "$@"
}

# start_game [COMMAND...]: starts the game (or COMMAND, which starts it) in the background, from
# GAME_DIR (default: the repository root, where it finds textures/ and shader/), with the probe
# preloaded when it is built: after every frame the game reports its state to $STATE_FILE (the
# contract of src/game/state_report.h), and hold_game can hold it between two frames; libraries
# named in PLAY_PRELOAD are preloaded after the probe (the virtual controller, tools/play/pad.cpp).
# Standard output and error go to files in the output folder.
STATE_FILE=""
HOLD_FILE=""
PROBED=""   # set while the running game was started with the probe preloaded
start_game() {
    local dir=${GAME_DIR:-$REPO} probe command=("$@")
    [ ${#command[@]} -gt 0 ] || command=("$GAME")
    probe=$(probe_library)
    STATE_FILE="$OUT/game.state"
    HOLD_FILE="$OUT/hold"
    rm -f "$STATE_FILE" "$HOLD_FILE" "$OUT/state.fault"
    (export GLACIMOR_STATE_PROBE_OUT="$STATE_FILE" GLACIMOR_PROBE_HOLD="$HOLD_FILE"
        launch_game "$dir" "$probe" "${command[@]}") >"$OUT/game.stdout" 2>"$OUT/game.stderr" </dev/null &
    GAME_PID=$!
    GAME_STATUS=""
    PROBED=$probe
    log "game started (pid $GAME_PID, cwd $dir${probe:+, state probe})"
}

# --- The game's state, as the game last reported it --------------------------------------------------
# The keys are those of src/game/state_report.h. A key the state lacks is never read as empty or 0:
# it fails the script with the key's name, or with the contract's when the game has none (the
# probe's report is then the one line "missing_contract <symbol>").

# state_fault KEY: the state lacks KEY. Fails the script; inside $(...), where the script cannot be
# stopped, says so, keeps the first such fault for fail and for the script's end, and returns 1.
state_fault() {
    local what
    if grep -q '^missing_contract ' "$STATE_FILE" 2>/dev/null; then
        what="the game reports no state: it lacks the contract $(awk '$1 == "missing_contract" { print $2; exit }' \
"$STATE_FILE") (src/game/state_report.h) that the probe calls, so nothing of the game can be judged"
    else
        what="the game's state has no key '$1' (keys: $(awk '{ print $1 }' "$STATE_FILE" | sort -u | tr '\n' ' '))"
    fi
    if [ "$BASHPID" = "$$" ]; then
        fail "$what"
    fi
    [ -s "$OUT/state.fault" ] || echo "$what" >"$OUT/state.fault"
    echo "FAIL [$TEST_NAME]: $what" >&2
    return 1
}

# state KEY: the value of the line KEY (e.g. "frame", "god", "message"); empty and status 1 before the
# first frame, and a fault (state_fault) when the state lacks the key.
state() {
    [ -n "$STATE_FILE" ] && [ -s "$STATE_FILE" ] || return 1
    local value
    if value=$(awk -v k="$1" '$1 == k { sub(/^[^ ]+ ?/, ""); print; found = 1; exit } END { exit !found }' \
        "$STATE_FILE" 2>/dev/null); then
        printf '%s\n' "$value"
    else
        state_fault "$1"
    fi
}

# state_holds AWK_CONDITION: true when the latest state satisfies the condition, written over the
# array v of the lines' values, numbers as numbers (v["god"] == 1, v["message"] == "AF off",
# v["frame"] > 20); where a key repeats, its first line. False before the first frame; a fault
# (state_fault) when the state lacks a key that the condition reads.
state_holds() {
    [ -n "$STATE_FILE" ] && [ -s "$STATE_FILE" ] || return 1
    local keys missing status
    keys=$(printf '%s' "$1" | grep -o 'v\["[A-Za-z0-9_]*"\]' | sed 's/^v\["//; s/"\]$//' | sort -u | tr '\n' ' ')
    missing=$(awk -v keys="$keys" '{ k = $1; sub(/^[^ ]+ ?/, ""); if (!(k in v)) v[k] = /^-?[0-9.]+$/ ? $0 + 0 : $0 }
             END { n = split(keys, need, " ")
                   for (i = 1; i <= n; i++) if (!(need[i] in v)) { print need[i]; exit 3 }
                   exit !('"$1"') }' "$STATE_FILE" 2>/dev/null)
    status=$?
    if [ "$status" -eq 3 ]; then
        state_fault "$missing"
        return 1
    fi
    [ "$status" -eq 0 ]
}

# wait_state LIMIT WHAT AWK_CONDITION: waits up to LIMIT seconds for the condition (see state_holds),
# failing with WHAT when it does not come; the game must stay alive meanwhile.
wait_state() {
    local limit=$1 what=$2 condition=$3 deadline
    [ -n "$PROBED" ] || fail "the game was started without the probe (tools/play/probe.cpp)"
    deadline=$(( $(date +%s%3N) + limit * 1000 ))
    until state_holds "$condition"; do
        require_alive "while waiting for $what"
        [ "$(date +%s%3N)" -ge "$deadline" ] &&
            fail "no $what within $limit s (frame $(state frame), longest frame $(state longest_frame_ms) ms)"
        sleep 0.05
    done
}

# wait_frames N [LIMIT]: waits until the game has drawn N more frames (default limit 60 s).
wait_frames() {
    local target
    target=$(( $(state frame || echo 0) + $1 ))
    wait_state "${2:-60}" "$1 more frames" "v[\"frame\"] >= $target"
}

# wait_game_time MS [LIMIT]: waits until the game's clock has moved on by MS milliseconds.
wait_game_time() {
    local t
    t=$(state ticks)
    wait_state "${2:-60}" "$1 ms of game time" "v[\"ticks\"] >= ${t:-0} + $1"
}

# wait_until LIMIT WHAT COMMAND...: polls COMMAND (every tenth of a second) until it succeeds, for up
# to LIMIT seconds, failing with WHAT otherwise. For what the X server tells (window states).
wait_until() {
    local limit=$1 what=$2 deadline
    shift 2
    deadline=$(( $(date +%s%3N) + limit * 1000 ))
    until "$@"; do
        [ "$(date +%s%3N)" -ge "$deadline" ] && fail "$what, still after $limit s"
        sleep 0.1
    done
}

game_alive() {
    [ -n "$GAME_PID" ] && [ -z "$GAME_STATUS" ] && kill -0 "$GAME_PID" 2>/dev/null
}

# Fails unless the game is still running: a crashed game must never be judged by a stale picture.
require_alive() {
    if ! game_alive; then
        wait_exit 1 >/dev/null 2>&1
        fail "the game is not running any more (${1:-}); exit status ${GAME_STATUS:-unknown}"
    fi
}

# wait_exit TIMEOUT_SECONDS: waits for the game to end; sets GAME_STATUS and returns 0, or returns 1
# on time-out (the game is left running).
wait_exit() {
    local limit=$1 deadline
    [ -n "$GAME_STATUS" ] && return 0
    deadline=$(( $(date +%s%3N) + $(awk -v s="$limit" 'BEGIN { printf "%d", s * 1000 }') ))
    while kill -0 "$GAME_PID" 2>/dev/null; do
        [ "$(date +%s%3N)" -ge "$deadline" ] && return 1
        sleep 0.05
    done
    wait "$GAME_PID" 2>/dev/null
    GAME_STATUS=$?
    return 0
}

# expect_exit NAME STATUS [LIMIT]: waits (LIMIT seconds, 60 by default) for the game to end with
# STATUS, with no sanitizer report; keeps its standard error and output as NAME.stderr and NAME.stdout.
expect_exit() {
    wait_exit "${3:-60}" || fail "$1: the game was still running after ${3:-60} s"
    cp "$OUT/game.stderr" "$OUT/$1.stderr"
    cp "$OUT/game.stdout" "$OUT/$1.stdout"
    log "$1: exit status $GAME_STATUS; standard error: $(cat -v "$OUT/$1.stderr")"
    [ "$GAME_STATUS" -eq "$2" ] || fail "$1: exit status $GAME_STATUS, expected $2"
    check_no_sanitizer_report
}

# expect_lines NAME LINE...: standard error of run NAME (kept by expect_exit) is exactly these
# lines, in this order.
expect_lines() {
    local name=$1
    shift
    local expected
    expected=$(printf '%s\n' "$@")
    [ "$(cat "$OUT/$name.stderr")" = "$expected" ] ||
        fail "$name: standard error is"$'\n'"$(cat -v "$OUT/$name.stderr")"$'\n'"expected"$'\n'"$expected"
}

# expect_line_matching NAME PATTERN: standard error of run NAME is one line, matching the whole of
# PATTERN (grep's basic regular expression), for lines with a figure that depends on the driver.
expect_line_matching() {
    [ "$(wc -l <"$OUT/$1.stderr")" -eq 1 ] && grep -qx -- "$2" "$OUT/$1.stderr" ||
        fail "$1: standard error is"$'\n'"$(cat -v "$OUT/$1.stderr")"$'\n'"expected one line matching"$'\n'"$2"
}

# wait_for_window TITLE [TIMEOUT [SEARCH_OPTION...]]: waits for a window with exactly this name
# (and xdotool search's options, e.g. --onlyvisible); sets WID to its id.
WID=""
wait_for_window() {
    local title=$1 limit=${2:-30} i
    shift $(( $# < 2 ? $# : 2 ))
    for i in $(seq 1 $((limit * 10))); do
        WID=$(xdotool search "$@" --name "^${title}\$" 2>/dev/null | head -n 1)
        if [ -n "$WID" ]; then
            return 0
        fi
        game_alive || { wait_exit 1; fail "the game ended before its window appeared (status $GAME_STATUS)"; }
        sleep 0.1
    done
    fail "no window named '$title' within ${limit} s"
}

# screenshot NAME: the whole screen into $OUT/NAME.png; sets SHOT to the path. The game must be
# alive before and after, so a picture left by a crashed game is never judged.
SHOT=""
screenshot() {
    SHOT="$OUT/$1.png"
    require_alive "before screenshot $1"
    import -window root "$SHOT" 2>>"$OUT/import.log" || fail "screenshot $1 failed"
    require_alive "after screenshot $1"
}

# snap NAME: like screenshot, but into $OUT/NAME.bmp: an uncompressed capture takes a fifth of a
# second where a PNG takes seconds on a busy machine, so a short-lived picture (a one-second message,
# a five-second stun) is still on the screen when it is taken. Sets SHOT.
snap() {
    SHOT="$OUT/$1.bmp"
    require_alive "before picture $1"
    import -window root "$SHOT" 2>>"$OUT/import.log" || fail "picture $1 failed"
    require_alive "after picture $1"
}

# snap_state NAME: snap NAME, and keep the game's state as it stood once the picture was taken in
# $OUT/NAME.state (with the frame on the screen when it began, "from_frame N").
snap_state() {
    local from
    from=$(state frame)
    snap "$1"
    { echo "from_frame ${from:-0}"; cat "$STATE_FILE"; } >"$OUT/$1.state"
}

# hold_game: holds the game before it shows another frame (the probe's hold), until release_game;
# meanwhile the screen shows the frame of the state, the latest one or the one after it, whatever
# moves in the game. The game's clock runs on, as in any long frame.
hold_game() {
    local deadline
    [ -n "$PROBED" ] || fail "holding the game needs the probe (tools/play/probe.cpp)"
    : >"$HOLD_FILE"
    deadline=$(( $(date +%s%3N) + 30000 ))
    until [ -e "$HOLD_FILE.held" ]; do
        require_alive "while waiting for it to hold"
        if [ "$(date +%s%3N)" -ge "$deadline" ]; then
            rm -f "$HOLD_FILE"
            fail "the game did not hold before a frame within 30 s (frame $(state frame))"
        fi
        sleep 0.02
    done
}

release_game() { rm -f "$HOLD_FILE"; }

# snap_held NAME: snap NAME of a held frame, and that frame's state in $OUT/NAME.state (with
# "from_frame N" as snap_state writes it: the frame itself).
snap_held() {
    hold_game
    snap "$1"
    { echo "from_frame $(state frame)"; cat "$STATE_FILE"; } >"$OUT/$1.state"
    release_game
}

# key_to KEY SETTING VALUE: presses KEY, which turns SETTING to VALUE, and waits for a frame drawn
# with it. A key that the game has not read 20 frames later is taken as lost on its way (as keys
# sent while the window is still being set up can be) and is sent again, up to three times.
key_to() {
    local key=$1 setting=$2 value=$3 try target
    for try in 1 2 3; do
        state_holds "v[\"$setting\"] == $value" && return 0
        press "$key"
        target=$(( $(state frame || echo 0) + 20 ))
        wait_state 60 "a frame with $setting = $value, or 20 more" "v[\"$setting\"] == $value || v[\"frame\"] >= $target"
        state_holds "v[\"$setting\"] == $value" && return 0
        log "$key: $setting still not $value 20 frames later; the key is sent again"
    done
    fail "$key did not turn $setting to $value in three presses"
}

# catch_message KEY SETTING VALUE TEXT NAME: presses KEY, which turns SETTING to VALUE and shows TEXT
# on the message line for a second of game time, and takes the picture NAME while the message is
# shown: the game is held before its next frame (hold_game) while the picture is taken, so the
# frame on the screen is the one whose state says TEXT, however slow the machine. When the message
# went away before the game held (a busy machine's slow frames), the key is pressed twice more and
# the picture taken again. Leaves SETTING at VALUE.
catch_message() {
    local key=$1 setting=$2 value=$3 text=$4 name=$5 try
    for try in 1 2 3 4; do
        key_to "$key" "$setting" "$value"
        hold_game
        if state_holds "v[\"message\"] == \"$text\""; then
            snap "$name"
            { echo "from_frame $(state frame)"; cat "$STATE_FILE"; } >"$OUT/$name.state"
            release_game
            return 0
        fi
        release_game
        log "$name: '$text' went away before the picture was taken (frames of $(state frame_ms) ms); again"
        key_to "$key" "$setting" $((1 - value))
    done
    fail "$name: could not take a picture while '$text' was shown, in four tries"
}

# wait_message_gone NAME: waits for the message line to be cleared, then takes the picture NAME of a
# frame drawn after that.
wait_message_gone() {
    wait_state 30 "the message line cleared" 'v["message"] == ""'
    wait_frames 1
    snap_state "$1"
}

# message_extent FILE: "LEFT RIGHT", the first and last pixel columns of the white text that starts
# the message line (x from 380), its letters and words no more than 18 pixels apart (a space is 9.6); anything
# white further right (a snowflake) is not part of it. Nothing when the line holds no white.
message_extent() {
    convert "$1" -crop "420x14+380+584" +repage -separate -evaluate-sequence min -threshold 92% \
        -scale '420x1!' -depth 8 txt:- 2>/dev/null |
        awk -F'[,:]' 'NR > 1 && $0 !~ /gray\(0\)|#000000/ { print $1 + 380 }' |
        awk 'NR == 1 { left = $1; right = $1; next } $1 - right <= 18 { right = $1 }
             END { if (NR) print left, right }'
}

# Standard deviation of the grey levels of an image or a region of it (0 means uniform).
stddev() {
    local file=$1 geom=${2:-}
    if [ -n "$geom" ]; then
        convert "$file" -crop "$geom" +repage -colorspace Gray -format '%[fx:standard_deviation]' info:
    else
        convert "$file" -colorspace Gray -format '%[fx:standard_deviation]' info:
    fi
}

# Mean brightness (0..1) of the whole image.
mean_level() {
    convert "$1" -colorspace Gray -format '%[fx:mean]' info:
}

# count_pixels FILE GEOM EXPR: how many pixels of the region GEOM (WxH+X+Y) satisfy the -fx
# expression EXPR (it sees r, g, b in 0..1), for example 'r>0.8 && g>0.8 && b<0.35' for yellow.
count_pixels() {
    local file=$1 geom=$2 expr=$3
    convert "$file" -crop "$geom" +repage -fx "($expr) ? 1 : 0" -format '%[fx:round(mean*w*h)]' info:
}

# count_many FILE GEOM1 EXPR1 [GEOM2 EXPR2 ...]: count_pixels for several regions in one run of
# convert (each run is slow while the game keeps both cores busy); sets the array COUNTS.
COUNTS=()
count_many() {
    local file=$1
    shift
    local args=("$file" -write mpr:shot +delete)
    while [ $# -ge 2 ]; do
        args+=(\( mpr:shot -crop "$1" +repage -fx "($2) ? 1 : 0" \))
        shift 2
    done
    mapfile -t COUNTS < <(convert "${args[@]}" -format '%[fx:round(mean*w*h)]\n' info:)
}

# Pixel colour tests for the HUD's text colours.
YELLOW='r>0.75 && g>0.75 && b<0.4'
WHITE='r>0.92 && g>0.92 && b>0.92'

# count_changed A B [GEOM] [FUZZ]: pixels of region GEOM that differ by more than FUZZ percent.
count_changed() {
    local a=$1 b=$2 geom=${3:-} fuzz=${4:-12}
    local ca="$OUT/.cmp_a.png" cb="$OUT/.cmp_b.png" n
    if [ -n "$geom" ]; then
        convert "$a" -crop "$geom" +repage "$ca"
        convert "$b" -crop "$geom" +repage "$cb"
    else
        cp "$a" "$ca"
        cp "$b" "$cb"
    fi
    # compare prints the metric on standard error and exits 1 when the images differ.
    n=$(compare -metric AE -fuzz "${fuzz}%" "$ca" "$cb" null: 2>&1 >/dev/null)
    rm -f "$ca" "$cb"
    printf '%.0f\n' "$n"
}

# coarse_change A B [GEOM]: mean absolute difference (0..1) of the two pictures scaled down to 40x30,
# which keeps the big shapes of the scene (walls, floor, figures) and averages away the snowflakes.
coarse_change() {
    local a=$1 b=$2 geom=${3:-}
    local crop=()
    [ -n "$geom" ] && crop=(-crop "$geom" +repage)
    convert \( "$a" "${crop[@]}" -colorspace Gray -resize '40x30!' \) \
        \( "$b" "${crop[@]}" -colorspace Gray -resize '40x30!' \) \
        -compose Difference -composite -format '%[fx:mean]' info:
}

# view_moved STILL CHANGE WHAT: fails with "WHAT (CHANGE, without input STILL)" unless CHANGE, the
# coarse_change of the view over an input, is more than three times STILL, that of the same stretch
# of game without input (falling snow and walking enemies alone), and more than 0.01 in any case.
view_moved() {
    local still=$1 change=$2 what=$3
    fgt "$change" "$(awk -v s="$still" 'BEGIN { v = 3 * s; if (v < 0.01) v = 0.01; print v }')" ||
        fail "$what ($change, without input $still)"
}

# green_mask FILE GEOM OUT: a black picture of region GEOM, white where the enemies' and the
# player's green faces are (green above 0.25 and 0.15 above red and blue: no snow, ice or wall is
# that green); sets GREEN_PIXELS to their number. Channel arithmetic, fast even on a whole screen.
GREEN_PIXELS=0
green_mask() {
    local file=$1 geom=$2 out=$3
    convert "$file" -crop "$geom" +repage -color-matrix '-1 1 0  0 1 -1  0 1 0' \
        -channel R -threshold 15% -channel G -threshold 15% -channel B -threshold 25% +channel \
        -separate -evaluate-sequence min "$out"
    GREEN_PIXELS=$(convert "$out" -format '%[fx:round(mean*w*h)]' info:)
}

# moving_blobs A B GEOM: pixels of region GEOM that changed between A and B by more than 15% in
# places at least 5 x 5 pixels large: moving figures count, single snowflakes are eroded away.
moving_blobs() {
    convert \( "$1" -crop "$3" +repage \) \( "$2" -crop "$3" +repage \) -compose difference -composite \
        -colorspace gray -threshold 15% -morphology Erode Square:2 -format '%[fx:round(mean*w*h)]' info:
}

# white_mask FILE GEOM OUT: a black picture of region GEOM, white where the pixel is white in the
# sense of WHITE (all three channels above 0.92): the HUD's white text without what lies behind it.
white_mask() {
    convert "$1" -crop "$2" +repage -separate -evaluate-sequence min -threshold 92% "$3"
}

# Floating-point comparison: fgt A B is true when A > B.
fgt() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# Key presses to the game's window, by X keysym names (Escape, F1, w ...).
press() { xdotool key --clearmodifiers "$@"; }

# Fails when the game's standard error holds a sanitizer report.
check_no_sanitizer_report() {
    if grep -Eq 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|SUMMARY: (Address|Leak|UndefinedBehavior)Sanitizer' \
        "$OUT/game.stderr"; then
        fail "the sanitizers reported a fault (see $OUT/game.stderr)"
    fi
}

# wait_for_first_frames [LIMIT [SHOOT FPS_REGION]]: waits up to LIMIT seconds (40) until the game
# has drawn its first frames: the screen is no longer uniform and the HUD's top-left line (yellow,
# refreshed every 500 ms) is in FPS_REGION (HUD_TEXT1). SHOOT takes a picture by a name and sets SHOT
# (snap; a Wayland session's wl_shot); SHOT is left at that picture. With the state probe, each new
# look waits for a new frame; without it (the demo's release build, a game started by its
# installed launcher), a second.
wait_for_first_frames() {
    local limit=${1:-40} shoot=${2:-snap} fps_region=${3:-$HUD_TEXT1} deadline
    deadline=$(( $(date +%s) + limit ))
    [ -n "$PROBED" ] && wait_state "$limit" "first frame" 'v["frame"] >= 1'
    while :; do
        "$shoot" startup
        if fgt "$(stddev "$SHOT")" 0.02 &&
            [ "$(count_pixels "$SHOT" "$fps_region" "$YELLOW")" -gt 20 ]; then
            return 0
        fi
        [ "$(date +%s)" -ge "$deadline" ] && break
        if [ -n "$PROBED" ]; then wait_frames 1 "$limit"; else sleep 1; fi
    done
    fail "after ${limit} s the game still shows no scene with its HUD (last picture: $SHOT)"
}

# HUD regions on the 800 x 600 screen. A HUD position (x, y) in normalised device coordinates is the
# pixel ((x + 1) / 2 * 800, (1 - y) / 2 * 600); the text sits above that baseline. At the HUD's size a
# character is 9.6 pixels wide and a line 13.8 pixels high.
HUD_TEXT1="180x22+0+0"       # (-0.99, 0.95): "FPS: ..." from x 4, baseline y 15
HUD_TEXT2="60x22+0+578"      # (-0.99, -0.98): the hit points from x 4, baseline y 594
HUD_TEXT3="200x22+380+578"   # (-0.03, -0.98): the settings message from x 388, baseline y 594
HUD_SECONDS="60x22+385+0"    # (-0.02, 0.95): the seconds from x 392, baseline y 15
HUD_GAMEOVER="320x90+260+190" # "GAME OVER" (-0.25, 0.2), baseline y 240; survival line (-0.27, 0.1), baseline y 270
