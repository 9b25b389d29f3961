// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The audio device: SDL 2 plays the game's mixer (audio/mixer.h) from its own audio thread, fed
// with the cues the game's thread leaves in a queue that neither side waits on.
#ifndef GLACIMOR_PLATFORM_SOUND_H
#define GLACIMOR_PLATFORM_SOUND_H

#include <SDL.h>

// Opens the default audio device (48 kHz stereo, 512 frames: about 10 ms a buffer) under the
// game's name and makes it the game's sound output; the sound fades out while `window` has lost
// the keyboard focus. Without a device, or with one that fails to open, says so on one line of
// standard error, and the game plays on silently. Returns whether it plays.
bool startSound(SDL_Window* window);

// Closes the device: the sound stops and the game's sound output is none. Runs at exit by itself;
// a browser, where the page outlives the game, calls it when the game ends.
void stopSound();

#endif
