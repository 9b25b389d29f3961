#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a command on a private virtual X display (Xvfb, Mesa's software renderer; see xvfb.sh) and
# stops the display afterwards. The command's exit status is this script's.
#
#   scripts/with-xvfb.sh [--window-manager] COMMAND...
#
# With --window-manager the display gets one (openbox), as a player's desktop has: the benchmark
# times the game's start-up there, since without one SDL waits a tenth of a second at the window's
# creation for a window manager to put it in full screen, a wait no player meets.
set -u
source "$(dirname "$0")/xvfb.sh"
wm=0
[ "${1:-}" = --window-manager ] && { wm=1; shift; }
logdir=$(mktemp -d "${TMPDIR:-/tmp}/glacimor-xvfb.XXXXXX")
trap 'wm_stop; xvfb_stop; rm -rf "$logdir"' EXIT
xvfb_start 1280x720x24 "$logdir" || { echo "with-xvfb: $XVFB_ERROR" >&2; cat "$logdir/xvfb.log" >&2; exit 1; }
if [ "$wm" = 1 ]; then
    wm_start "$logdir" || { echo "with-xvfb: $XVFB_ERROR" >&2; cat "$logdir/openbox.log" >&2; exit 1; }
fi
"$@"
