#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Starts the real game as the scripts of tools/play/lib.sh do (launch_game), for a program that is
# not a shell script: the benchmark and scripts/bench-compare.sh time the start-up through it.
#
#   tools/play/launch.sh DATA_DIR PROBE GAME [ARGUMENTS...]
#
# What the probe does is said by the GLACIMOR_* variables of the environment (tools/play/probe.cpp),
# e.g. GLACIMOR_STARTUP_PROBE_OUT=FILE to time the start-up. The game's exit status is this script's.
[ $# -ge 3 ] || { sed -n '6,12p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
source "$(dirname "$0")/lib.sh"
launch_game "$@"
