# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Helpers of the end-to-end tests in a Wayland session: the real glacimor under a headless
# compositor of its own, either through XWayland (weston) or as a native Wayland client (sway),
# driven by input the compositor takes for real and judged by the compositor's screenshots, the
# game's frames and GL facts as the state the game reports (tools/play/lib.sh) tells them, and the
# exit status.
#
# A test script begins with:
#   source "$(dirname "$0")/../../tools/play/lib.sh"
#   source "$(dirname "$0")/lib_wayland.sh"
#   e2e_init "$@"
#   wayland_init
# and then calls start_weston or start_sway, start_wayland_game, judge_wayland_game ... The
# compositor, the game and the helpers are stopped, and their files removed, when the script ends,
# however it ends.
#
# The environment names the test programs built with the tests: GLACIMOR_STATE_PROBE the probe
# (as for every end-to-end test), GLACIMOR_VIRTUAL_INPUT the virtual mouse and keyboard for sway.

# The compositors' output, and so the game's full screen, in pixels; sway scales it by WL_SCALE
# (its logical size is the pixels divided by that).
SCREEN_W=1280
SCREEN_H=720
WL_SCALE=1

# The HUD at this size: a character is 0.012 of the width wide (15.4 pixels), a line 0.023 of the
# height high (16.6 pixels); the text sits above its baseline.
WL_FPS_LINE="200x24+0+0"          # "FPS: ..." at (-0.99, 0.95): from x 6, baseline y 18
WL_HIT_POINTS="80x26+0+694"       # the hit points at (-0.99, -0.98): baseline y 713
WL_SECONDS="80x24+630+0"          # the seconds at (-0.02, 0.95): from x 627
WL_MESSAGE_LINE="660x26+612+694"  # the settings message at (-0.03, -0.98): from x 621
WL_SCENE="1280x670+0+25"          # the picture without the HUD's top and bottom lines
WL_CHAR_W=15.36

WL_SESSION=""        # weston or sway
WL_RUNTIME=""        # the compositor's XDG_RUNTIME_DIR, private to the test
WL_COMPOSITOR_PID=""
WL_INPUT_PID=""
WL_INPUT_IN=""       # the file descriptor of the virtual input's commands
WL_INPUT_LINES=0
SWAYSOCK=""

wayland_init() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "the tool '$tool' is not installed"
    done
    [ -n "$(probe_library)" ] || fail "no probe (GLACIMOR_STATE_PROBE='${GLACIMOR_STATE_PROBE:-}')"
    # Sockets live in the runtime folder: a short path under /tmp, whatever the build folder is.
    WL_RUNTIME=$(mktemp -d /tmp/glacimor-wl.XXXXXX) || fail "no runtime folder"
    chmod 700 "$WL_RUNTIME"
    export LIBGL_ALWAYS_SOFTWARE=1
    trap wayland_cleanup EXIT
}

wayland_cleanup() {
    # The game first, asked to end (through its time bound), before the compositor goes.
    [ -z "$GAME_STATUS" ] && stop_process "$GAME_PID"
    e2e_cleanup
    if [ -n "$WL_INPUT_IN" ]; then
        eval "exec ${WL_INPUT_IN}>&-"
        WL_INPUT_IN=""
    fi
    stop_process "$WL_INPUT_PID"
    stop_process "$WL_COMPOSITOR_PID"
    [ -n "$WL_RUNTIME" ] && rm -rf "$WL_RUNTIME"
}

# Every process the test starts runs under `timeout`, which bounds it even if the test is killed
# (a little beyond the test's own time limit), passes a request to end on to it (and to what it
# started, such as weston's XWayland), and returns its exit status.
BOUND=(timeout -k 5 240)

# stop_process PID: asks the process to end, and kills it if it has not ended within 5 s.
stop_process() {
    local pid=$1 i
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null
    for i in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

# sway refuses to run as root. As root, the test runs it as a system user of its own, made on first
# use, which owns the runtime folder; AS_COMPOSITOR is the command prefix for that. The game and
# the input tools run as the test's own user (root reaches the user's sockets). weston runs as the
# test's own user: its XWayland takes X clients of that user only.
AS_COMPOSITOR=()
prepare_compositor_user() {
    [ "$(id -u)" -eq 0 ] || return 0
    local user=glacimor-test
    if ! getent passwd "$user" >/dev/null; then
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user" ||
            getent passwd "$user" >/dev/null || fail "could not make the user $user for the compositor"
    fi
    chown -R "$user:" "$WL_RUNTIME"
    AS_COMPOSITOR=(setpriv --reuid="$user" --regid="$user" --clear-groups --)
}

# wl_wait_until SECONDS WHAT COMMAND...: like wait_until of tools/play/lib.sh, every 0.2 s, quiet; fails the test
# after SECONDS, or as soon as the compositor has died.
wl_wait_until() {
    local limit=$1 what=$2 deadline
    shift 2
    deadline=$(( $(date +%s%3N) + limit * 1000 ))
    until "$@" >/dev/null 2>&1; do
        kill -0 "$WL_COMPOSITOR_PID" 2>/dev/null || fail "the compositor ended while waiting for $what (see $OUT)"
        [ "$(date +%s%3N)" -lt "$deadline" ] || fail "no $what within $limit s"
        sleep 0.2
    done
}

# --- weston, with XWayland -----------------------------------------------------------------------

# Headless weston (software rendering) with XWayland; its --debug lets weston-screenshooter take the
# output. Sets DISPLAY to XWayland's display, where the game and xdotool go.
start_weston() {
    WL_SESSION=weston
    local log="$OUT/weston.log"
    "${BOUND[@]}" env XDG_RUNTIME_DIR="$WL_RUNTIME" weston --backend=headless-backend.so --use-pixman \
        --xwayland --debug --width="$SCREEN_W" --height="$SCREEN_H" --socket=glacimor-weston \
        --idle-time=0 --log="$log" >"$OUT/weston.out" 2>&1 </dev/null &
    WL_COMPOSITOR_PID=$!
    export XDG_RUNTIME_DIR="$WL_RUNTIME" WAYLAND_DISPLAY=glacimor-weston
    wl_wait_until 30 "XWayland display from weston" grep -q 'xserver listening on display' "$log"
    export DISPLAY
    DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$log" | head -n 1)
    # XWayland starts on the first X client.
    wl_wait_until 30 "answer from XWayland on $DISPLAY" xdpyinfo
    log "weston $(weston --version 2>&1 | tr -dc '0-9.') with XWayland on $DISPLAY (${SCREEN_W}x${SCREEN_H})"
}

# --- sway, native -----------------------------------------------------------------------------------

# Headless sway (software rendering), without XWayland, so only a native Wayland client can show.
start_sway() {
    WL_SESSION=sway
    cat >"$WL_RUNTIME/sway.config" <<EOF
xwayland disable
output * resolution ${SCREEN_W}x${SCREEN_H} scale ${WL_SCALE}
default_border none
focus_follows_mouse no
EOF
    prepare_compositor_user
    "${BOUND[@]}" "${AS_COMPOSITOR[@]}" env -u WAYLAND_DISPLAY -u DISPLAY XDG_RUNTIME_DIR="$WL_RUNTIME" \
        HOME="$WL_RUNTIME" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        sway --config "$WL_RUNTIME/sway.config" >"$OUT/sway.log" 2>&1 </dev/null &
    WL_COMPOSITOR_PID=$!
    unset DISPLAY
    export XDG_RUNTIME_DIR="$WL_RUNTIME"
    wl_wait_until 30 "Wayland socket from sway" compgen -G "$WL_RUNTIME/wayland-*[0-9]"
    WAYLAND_DISPLAY=$(basename "$(compgen -G "$WL_RUNTIME/wayland-*[0-9]" | head -n 1)")
    export WAYLAND_DISPLAY
    wl_wait_until 30 "IPC socket from sway" compgen -G "$WL_RUNTIME/sway-ipc.*.sock"
    SWAYSOCK=$(compgen -G "$WL_RUNTIME/sway-ipc.*.sock" | head -n 1)
    export SWAYSOCK
    # Ready when its output can be taken.
    wl_wait_until 30 "picture of sway's output" grim "$WL_RUNTIME/ready.png"
    log "$(sway --version) on $WAYLAND_DISPLAY (${SCREEN_W}x${SCREEN_H})"
}

# wait_sway_window: waits up to 60 s for the game's window in sway's tree; sets VIEW to
# "[fullscreen_mode,width,height]" of it, its size in the output's logical units.
VIEW=""
wait_sway_window() {
    local deadline=$(( $(date +%s) + 60 ))
    VIEW=""
    while [ -z "$VIEW" ]; do
        require_alive "while waiting for its window"
        [ "$(date +%s)" -lt "$deadline" ] || fail "no window named Glacimor in sway within 60 s"
        VIEW=$(swaymsg -r -t get_tree 2>/dev/null |
            jq -c 'first(recurse(.nodes[]?, .floating_nodes[]?) | select(.name == "Glacimor")) | [.fullscreen_mode, .rect.width, .rect.height]' 2>/dev/null)
        [ -n "$VIEW" ] || sleep 0.2
    done
    log "sway's view of the window: [fullscreen_mode, width, height] = $VIEW"
}

# The virtual mouse and keyboard, made before the game starts: SDL locks the pointer it finds for
# relative motion, and the keyboard's one keymap reaches the game before any key. Its commands
# stay open on a descriptor of the test.
start_virtual_input() {
    [ -x "${GLACIMOR_VIRTUAL_INPUT:-}" ] || fail "no virtual input client (GLACIMOR_VIRTUAL_INPUT='${GLACIMOR_VIRTUAL_INPUT:-}')"
    local fifo="$WL_RUNTIME/input.in"
    mkfifo "$fifo"
    "${BOUND[@]}" "$GLACIMOR_VIRTUAL_INPUT" <"$fifo" >"$OUT/input.log" 2>&1 &
    WL_INPUT_PID=$!
    exec {WL_INPUT_IN}>"$fifo"
    wl_wait_until 20 "virtual mouse and keyboard" grep -qx ready "$OUT/input.log"
}

# virtual_input LINE: one command to the virtual input ("move DX DY", "wheel STEPS", "key CODE");
# returns when the compositor has handled it.
virtual_input() {
    kill -0 "$WL_INPUT_PID" 2>/dev/null || fail "the virtual input ended (see $OUT/input.log)"
    echo "$*" >&"$WL_INPUT_IN"
    WL_INPUT_LINES=$((WL_INPUT_LINES + 1))
    wl_wait_until 20 "handling of '$*' by the virtual input" grep -qx "done $WL_INPUT_LINES" "$OUT/input.log"
}

# --- The game and its input ------------------------------------------------------------------------

# Starts the game from the repository root, bounded, with the state probe preloaded (start_game,
# which also lets the sanitized game start with the probe loaded ahead of the sanitizers' runtime);
# the arguments are extra environment (NAME=VALUE, or -u NAME to drop one).
start_wayland_game() {
    start_game "${BOUND[@]}" env "$@" "$GAME"
}

# A key to the game (Escape, F1): xdotool on XWayland (never windowfocus there: keys stop reaching
# the game); under sway the virtual keyboard, by the key's Linux input code.
key() {
    require_alive "before the key $1"
    if [ "$WL_SESSION" = sway ]; then
        case "$1" in
            Escape) virtual_input key 1 ;;
            F1) virtual_input key 59 ;;
            *) fail "no input code for the key $1" ;;
        esac
    else
        timeout 20 xdotool key "$1" || fail "xdotool could not send $1"
    fi
}

# Relative mouse motion. On XWayland only relative motion and clicks: an absolute move there, with
# no seat in the headless compositor, brings XWayland down.
move_mouse() {
    if [ "$WL_SESSION" = sway ]; then
        virtual_input move "$1" "$2"
    else
        timeout 20 xdotool mousemove_relative -- "$1" "$2" || fail "xdotool could not move the mouse"
    fi
}

# wheel_up NOTCHES: the wheel towards the screen (X button 4), which brings the camera nearer.
wheel_up() {
    local i
    if [ "$WL_SESSION" = sway ]; then
        virtual_input wheel "-$1"
    else
        for i in $(seq 1 "$1"); do
            timeout 20 xdotool click 4 || fail "xdotool could not turn the wheel"
        done
    fi
}

# wl_shot NAME: the compositor's output into $OUT/NAME.png; sets SHOT. The game must be alive before
# and after, so a picture left by a crashed game is never judged.
wl_shot() {
    SHOT="$OUT/$1.png"
    require_alive "before picture $1"
    rm -f "$SHOT"
    if [ "$WL_SESSION" = sway ]; then
        timeout 30 grim -l 1 "$SHOT" 2>>"$OUT/shots.log" || fail "grim could not take picture $1"
    else
        # weston-screenshooter writes a file named by the second into the current folder.
        local dir="$WL_RUNTIME/shot"
        rm -rf "$dir" && mkdir -p "$dir"
        (cd "$dir" && timeout 30 weston-screenshooter) >>"$OUT/shots.log" 2>&1 ||
            fail "weston-screenshooter could not take picture $1"
        mv "$dir"/*.png "$SHOT" 2>/dev/null || fail "weston-screenshooter left no picture $1"
    fi
    require_alive "after picture $1"
}

# --- What the tests judge ------------------------------------------------------------------------------

# The game once its window stands full screen, judged alike in both sessions: its first frames on
# the output, what its GL context got, the scene, mouse and wheel, F1's message, and Escape.
judge_wayland_game() {
    wait_for_first_frames 90 wl_shot "$WL_FPS_LINE"
    # God mode, so that the player lives to turn. Pressed once the game draws, in its frame loop.
    key F1
    judge_gl_facts
    wait_frames 3
    wl_shot scene
    judge_scene "$SHOT"
    judge_turn_and_wheel
    judge_f1_message
    judge_escape
}

# The game draws at the output's size with 4x multisampling, as its own GL context says (read by the
# state probe after the first frame).
judge_gl_facts() {
    local samples sample_buffers viewport renderer
    wait_state 30 "GL facts from the game's first frame" 'v["frame"] >= 1'
    samples=$(state samples)
    sample_buffers=$(state sample_buffers)
    viewport=$(state viewport)
    renderer=$(state renderer)
    log "GL facts: samples $samples; sample_buffers $sample_buffers; viewport $viewport; renderer $renderer"
    [ "$viewport" = "$SCREEN_W $SCREEN_H" ] ||
        fail "the game draws at $viewport, expected the output's $SCREEN_W $SCREEN_H"
    [ "$samples" = 4 ] && [ "$sample_buffers" = 1 ] ||
        fail "the game got $samples samples ($sample_buffers sample buffers), expected 4x multisampling"
    case "$renderer" in
        *llvmpipe*) ;;
        *) fail "the game does not draw with Mesa's software renderer: $renderer" ;;
    esac
}

# The scene fills the output: a lit, varied picture, and the HUD at the output's corners (FPS top
# left, seconds top centre, hit points bottom left), which a window smaller than the output or
# placed elsewhere would not put there.
judge_scene() {
    local shot=$1 spread level fps seconds hp
    spread=$(stddev "$shot")
    level=$(mean_level "$shot")
    fps=$(count_pixels "$shot" "$WL_FPS_LINE" "$YELLOW")
    seconds=$(count_pixels "$shot" "$WL_SECONDS" "$WHITE")
    hp=$(count_pixels "$shot" "$WL_HIT_POINTS" "$WHITE")
    log "picture: mean level $level, spread $spread; HUD: FPS $fps yellow, seconds $seconds and hit points $hp white pixels"
    fgt "$spread" 0.05 || fail "the picture is nearly uniform (spread $spread): no scene drawn"
    fgt "$level" 0.1 || fail "the picture is nearly black (mean level $level)"
    fgt "$(convert "$shot" -crop "${SCREEN_W}x$((SCREEN_H / 2))+0+0" -colorspace Gray -format '%[fx:mean]' info:)" 0.1 ||
        fail "the upper half of the output is dark"
    fgt "$(convert "$shot" -crop "${SCREEN_W}x$((SCREEN_H / 2))+0+$((SCREEN_H / 2))" -colorspace Gray -format '%[fx:mean]' info:)" 0.1 ||
        fail "the lower half of the output is dark"
    [ "$fps" -ge 40 ] || fail "no FPS line at the output's top left corner ($fps yellow pixels)"
    [ "$seconds" -ge 10 ] || fail "no seconds counter at the output's top centre ($seconds white pixels)"
    [ "$hp" -ge 25 ] || fail "no hit points at the output's bottom left corner ($hp white pixels)"
}

# Relative motion turns the view, and stays relative past the output's edge, where a pointer
# would stop: 200 pixels turn the player by 30 degrees, 1200 more by half a turn, and 1200 more
# complete the full turn, which brings back the view of 200 pixels (only snow and walking enemies
# differ), whatever the pointer's place on the output. Then the wheel moves the camera. Each turn
# and the wheel change the picture far more than the same time without input does.
judge_turn_and_wheel() {
    local i
    wl_shot still_1
    wait_frames 3
    wl_shot still_2
    move_mouse 200 0
    wait_frames 3
    wl_shot turned
    for i in 1 2 3 4; do move_mouse 300 0; done
    wait_frames 3
    wl_shot half_turn
    for i in 1 2 3 4; do move_mouse 300 0; done
    wait_frames 3
    wl_shot full_turn
    wheel_up 4
    wait_frames 3
    wl_shot wheel
    require_alive "after the mouse"

    local still turn half full wheel
    still=$(coarse_change "$OUT/still_1.png" "$OUT/still_2.png" "$WL_SCENE")
    turn=$(coarse_change "$OUT/still_2.png" "$OUT/turned.png" "$WL_SCENE")
    half=$(coarse_change "$OUT/turned.png" "$OUT/half_turn.png" "$WL_SCENE")
    full=$(coarse_change "$OUT/turned.png" "$OUT/full_turn.png" "$WL_SCENE")
    wheel=$(coarse_change "$OUT/full_turn.png" "$OUT/wheel.png" "$WL_SCENE")
    log "view change: still $still, mouse $turn, half a turn more $half, a full turn more $full, wheel $wheel"
    view_moved "$still" "$turn" "relative mouse motion did not turn the view"
    view_moved "$still" "$half" "1200 pixels more did not turn the view"
    fgt "$(awk -v h="$half" 'BEGIN { print h / 3 }')" "$full" ||
        fail "a full turn of the mouse (2400 pixels, past the output's edge) did not bring the view back ($full, half a turn $half)"
    view_moved "$still" "$wheel" "the wheel did not move the camera"
}

# wl_message_extent FILE: "WIDTH LEFT" of the white text on the message line, LEFT from the line's
# region; empty when there is none. Snowflakes are taken out first: they are solid blobs, which a
# 3 x 3 opening keeps, where the letters' strokes are at most two pixels thick and vanish.
wl_message_extent() {
    convert "$1" -crop "$WL_MESSAGE_LINE" +repage -separate -evaluate-sequence min -threshold 92% \
        \( +clone -morphology Open Square:1 -morphology Dilate Square:2 \) -compose MinusSrc -composite \
        -trim -format '%w %X' info: 2>/dev/null | tr -d '+'
}

# shown_message LAST: after a key, takes pictures for 2.5 s until the message line shows "godmode
# on" or "godmode off" other than LAST (the message of the press before, still shown until this one
# is handled), told apart by their width from the line's start (one character, 15 pixels); sets
# SHOWN to which, or empty.
SHOWN=""
shown_message() {
    local last=$1 deadline extent width left text expected shot=0
    SHOWN=""
    wait_frames 2
    deadline=$(( $(date +%s%3N) + 2500 ))
    while [ "$(date +%s%3N)" -lt "$deadline" ]; do
        shot=$((shot + 1))
        wl_shot "f1_${F1_PRESSES}_$shot"
        extent=$(wl_message_extent "$SHOT")
        [ -n "$extent" ] || continue
        read -r width left <<<"$extent"
        # The message's first letter begins 11 pixels into the region (x 623).
        [ "$left" -ge 8 ] && [ "$left" -le 14 ] || continue
        for text in "godmode on" "godmode off"; do
            [ "$text" != "$last" ] || continue
            expected=$(awk -v n="${#text}" -v c="$WL_CHAR_W" 'BEGIN { printf "%d", n * c - 6 }')
            if [ "$width" -ge $((expected - 7)) ] && [ "$width" -le $((expected + 7)) ]; then
                SHOWN=$text
                return 0
            fi
        done
    done
}

# F1 switches god mode and says so on the message line for a second, "godmode on" or "godmode
# off", each press the other. Judged from the messages themselves, so the state before does not
# matter: F1 is pressed until both were seen, at most eight times. A picture may come too late for
# the one-second message on a busy machine (one takes a second under weston): a press whose
# message was not seen is pressed again. A game that shows one of the two only fails.
F1_PRESSES=0
judge_f1_message() {
    local last="" seen_on=0 seen_off=0
    while [ "$F1_PRESSES" -lt 8 ]; do
        F1_PRESSES=$((F1_PRESSES + 1))
        key F1
        shown_message "$last"
        log "F1 press $F1_PRESSES: ${SHOWN:-no message seen}"
        last=$SHOWN
        [ "$SHOWN" = "godmode on" ] && seen_on=1
        [ "$SHOWN" = "godmode off" ] && seen_off=1
        [ "$seen_on" -eq 1 ] && [ "$seen_off" -eq 1 ] && return 0
    done
    fail "F1 did not show both 'godmode on' and 'godmode off' on the message line in $F1_PRESSES presses (see $OUT/f1_*.png)"
}

# Escape ends the game with status 0, and the sanitizers found nothing.
judge_escape() {
    key Escape
    if ! wait_exit 30; then
        # Whether the key was lost or the game hangs on its way out tells where to look.
        wl_shot after_escape_1
        sleep 1.5 # a second for the seconds counter
        wl_shot after_escape_2
        if [ "$(count_changed "$OUT/after_escape_1.png" "$OUT/after_escape_2.png" "$WL_SECONDS" 30)" -ge 5 ]; then
            fail "the game did not end within 30 s of Escape, and goes on playing"
        fi
        fail "the game did not end within 30 s of Escape, and stopped drawing"
    fi
    [ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Escape, expected 0"
    check_no_sanitizer_report
}
