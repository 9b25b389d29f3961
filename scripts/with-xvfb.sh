#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a command on a private virtual X display (Xvfb, Mesa's software renderer; see xvfb.sh) and
# stops the display afterwards. The command's exit status is this script's.
set -u
source "$(dirname "$0")/xvfb.sh"
logdir=$(mktemp -d "${TMPDIR:-/tmp}/glacimor-xvfb.XXXXXX")
trap 'xvfb_stop; rm -rf "$logdir"' EXIT
xvfb_start 1280x720x24 "$logdir" || { echo "with-xvfb: $XVFB_ERROR" >&2; cat "$logdir/xvfb.log" >&2; exit 1; }
"$@"
