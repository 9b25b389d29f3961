#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a command on a private virtual X display (Xvfb, 1280 x 720, Mesa's software renderer; see
# xvfb.sh) and stops the display afterwards. The command's exit status is this script's.
#
#   scripts/with-xvfb.sh [--display N] [--window-manager] COMMAND...
#
#   --display N        the display's number: the server runs as :N, where another shell can reach
#                      it (DISPLAY=:N xdotool ...); without it, the server picks a free number
#   --window-manager   the display gets one (openbox), as a player's desktop has: the benchmark
#                      times the game's start-up there, since without one SDL waits a tenth of a
#                      second at the window's creation for a window manager to put it in full
#                      screen, a wait no player meets
#
# On standard error it says which display it started, before the command runs.
set -u
source "$(dirname "$0")/xvfb.sh"
usage() { sed -n '6,17p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
wm=0
number=""
while [ $# -gt 0 ]; do
    case $1 in
    --window-manager) wm=1; shift ;;
    --display)
        [ $# -ge 2 ] && [[ $2 =~ ^[0-9]+$ ]] || usage
        number=$2; shift 2 ;;
    --help|-h) usage ;;
    *) break ;;
    esac
done
[ $# -gt 0 ] || usage
logdir=$(mktemp -d "${TMPDIR:-/tmp}/glacimor-xvfb.XXXXXX")
trap 'wm_stop; xvfb_stop; rm -rf "$logdir"' EXIT
xvfb_start 1280x720x24 "$logdir" "$number" || { echo "with-xvfb: $XVFB_ERROR" >&2; cat "$logdir/xvfb.log" >&2; exit 1; }
if [ "$wm" = 1 ]; then
    wm_start "$logdir" || { echo "with-xvfb: $XVFB_ERROR" >&2; cat "$logdir/openbox.log" >&2; exit 1; }
fi
echo "with-xvfb: display $DISPLAY (1280x720)$([ "$wm" = 1 ] && echo ", window manager openbox")" >&2
"$@"
