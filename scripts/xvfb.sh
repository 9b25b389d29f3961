# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The one way the tests, the benchmark, the demo and the Windows check start a private virtual X
# display. Sourced; defines:
#
#   xvfb_start WxHxD DIR [N]
#                          starts Xvfb on a display number that the server picks itself
#                          (-displayfd), so displays on a shared machine never collide, or on :N
#                          when N is given; waits until it answers; sets XVFB_PID and exports
#                          DISPLAY and LIBGL_ALWAYS_SOFTWARE (Mesa's software renderer). DIR
#                          receives xvfb.display and xvfb.log. Returns 1, with the reason in
#                          XVFB_ERROR, when the server does not come up (on :N: when it is taken).
#   xvfb_stop              stops that server (the one this shell started, by its process id).
#   wm_start DIR           starts a window manager (openbox) on that display, as a desktop has, and
#                          waits until it answers; sets WM_PID. DIR receives openbox.log. Returns 1,
#                          with the reason in XVFB_ERROR, when it does not come up.
#   wm_stop                stops it.

XVFB_PID=""
XVFB_ERROR=""

# Whatever runs here, on a virtual display or a test's compositor, plays its sound into SDL's
# audio driver that plays nothing and says nothing: the game's sound is judged only where a test
# asks for another driver (tests/e2e/test_sound.sh), and a test run makes no noise.
export SDL_AUDIODRIVER=dummy

WM_PID=""

xvfb_start() {
    local screen=$1 dir=$2 number=${3:-} n
    local fdfile="$dir/xvfb.display"
    mkdir -p "$dir"
    : >"$fdfile"
    Xvfb ${number:+":$number"} -displayfd 3 -screen 0 "$screen" +extension GLX -nolisten tcp -noreset \
        3>"$fdfile" >"$dir/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for n in $(seq 1 100); do
        [ -s "$fdfile" ] && break
        if ! kill -0 "$XVFB_PID" 2>/dev/null; then
            XVFB_ERROR="Xvfb did not start (see $dir/xvfb.log)"
            XVFB_PID=""
            return 1
        fi
        sleep 0.1
    done
    if [ ! -s "$fdfile" ]; then
        XVFB_ERROR="Xvfb gave no display number within 10 s (see $dir/xvfb.log)"
        return 1
    fi
    export DISPLAY=":$(tr -dc '0-9' <"$fdfile")"
    export LIBGL_ALWAYS_SOFTWARE=1
    for n in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    XVFB_ERROR="display $DISPLAY does not answer (see $dir/xvfb.log)"
    return 1
}

# Stops a process this shell started, by its process id (nothing when the id is empty).
stop_started() {
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}

xvfb_stop() {
    stop_started "$XVFB_PID"
    XVFB_PID=""
}

wm_start() {
    local dir=$1 tool
    for tool in openbox wmctrl; do
        command -v "$tool" >/dev/null || { XVFB_ERROR="the tool '$tool' is not installed"; return 1; }
    done
    openbox --sm-disable >"$dir/openbox.log" 2>&1 &
    WM_PID=$!
    for _ in $(seq 1 100); do
        wmctrl -m >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    XVFB_ERROR="the window manager did not start (see $dir/openbox.log)"
    return 1
}

wm_stop() {
    stop_started "$WM_PID"
    WM_PID=""
}
