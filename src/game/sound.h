// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's sounds, heard from the world: after each update, what happened (an enemy come, an
// enemy killed, the player walking, drained or fallen) becomes sound cues, placed as the camera
// sees them, for the sound output that the platform installs. The rules see nothing of it: it
// reads the world, draws no random number and changes nothing. Steps and heartbeats follow the
// game's clock and the distance walked, not the frame count.
#ifndef GLACIMOR_GAME_SOUND_H
#define GLACIMOR_GAME_SOUND_H

#include "audio/cue.h"

#include <cstddef>

// Where the cues go: the platform's audio device, a test's list.
class SoundOut {
public:
    virtual ~SoundOut() = default;
    virtual void play(const SoundCue& cue) = 0; // never waits
    virtual void setOn(bool on) = 0;            // M: the whole sound fades out, or back in
};

// Null: the cues go nowhere (the tests of other things, the benchmark's frames).
void setSoundOut(SoundOut* out);

// The frame's last update step: what the world did since the last one, as cues.
void listenToWorld();

// A burst fired by the player, and how many enemies it reached: one cue, however many.
void noteBurst(Sound burst, std::size_t reached);

// A settings key pressed: a soft click.
void noteSettingsKey();

// Forgets what the last frames were: the next listen takes the world as it stands, and hears
// nothing of how it came there.
void forgetHeardWorld();

// World units walked per footstep: at the player's 15 units a second, a little over two steps a second.
constexpr double STRIDE = 7.0;
// The least game time between two heartbeats of a player drained without pause.
constexpr unsigned HURT_EVERY_MS = 650;
// The least game time between two enemies heard coming, when they come faster.
constexpr unsigned APPEAR_EVERY_MS = 300;

#endif
