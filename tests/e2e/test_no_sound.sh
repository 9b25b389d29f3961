#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Without a sound device, and with an audio driver that fails, the game plays on silently: one
# line on standard error says there is no sound (nothing of the ALSA library's own complaints),
# the keys still work, M included, and Escape ends it with status 0.
source "$(dirname "$0")/../../tools/play/lib.sh"
e2e_init "$@"

start_xvfb

# play_without NAME: a game started with the audio environment set by the caller.
play_without() {
    start_game
    wait_for_window Glacimor 30
    wait_for_first_frames 40
    key_to m sound 0
    wait_state 30 "the message of M" 'v["message"] == "sound off"'
    wait_frames 3
    press Escape
    expect_exit "$1" 0
    expect_line_matching "$1" 'glacimor: no sound: .*'
}

# ALSA asked for a device that is not there: what a machine without a sound card gives.
export SDL_AUDIODRIVER=alsa AUDIODEV=glacimor_no_such_device
play_without no_device
# A driver SDL does not have.
export SDL_AUDIODRIVER=glacimor_no_such_driver
unset AUDIODEV
play_without no_driver
pass "no sound device, or a driver that fails: one line, the game plays, Escape quits with 0"
