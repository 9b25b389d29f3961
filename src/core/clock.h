// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game clock: milliseconds read once per frame through one seam, the per-frame time scale,
// the frame counter of the HUD and the running-seconds text.
#ifndef GLACIMOR_CORE_CLOCK_H
#define GLACIMOR_CORE_CLOCK_H

#include <cstdint>
#include <string>

// Milliseconds since the platform came up; differences are taken in unsigned 32-bit arithmetic.
using Ticks = std::uint32_t;

// The one seam through which the game reads the clock. The platform's bring-up installs the
// window system's millisecond clock; tests and the benchmark install a scripted source.
using TickSource = Ticks (*)();
Ticks ticksNow();
void setTickSource(TickSource source); // nullptr: no source, the time stands at 0

// The frame's clocks, with their values before the first frame: the definitions and their
// restore come from this table.
#define GLACIMOR_CLOCKS(X)                                                                       \
    X(Ticks, game_time, 0)          /* ticks read at the start of the current frame */          \
    X(Ticks, game_time_last, 0)     /* game_time of the previous frame */                       \
    X(Ticks, game_time_delta, 0)    /* game_time - game_time_last */                            \
    X(Ticks, game_time500, 0)       /* start of the current 500 ms HUD refresh period */        \
    X(Ticks, game_timeN, 0)         /* spawn clock: ticks up to which intervals are used up */  \
    X(double, frameNormalizer, 1.0) /* the last frame's length in 100 ms units; scales motion */

#define GLACIMOR_DECLARE_CLOCK(type, name, value) extern type name;
GLACIMOR_CLOCKS(GLACIMOR_DECLARE_CLOCK)
#undef GLACIMOR_DECLARE_CLOCK

// Puts the clocks back to their values before the first frame. For tests and the benchmark.
void restoreClocks();

// Frame step 2: read the clock once and derive frameNormalizer (no clamp).
void advanceClock();

// Counts frames and reports the rate between two calls of getFPS.
class FrameCounter {
public:
    int frameCount = 0;
    int lastFrameCount = 0;
    Ticks now = 0;
    Ticks lastTime = 0;
    double fpsValue = 0.0;

    FrameCounter() = default;
    void addFrame(); // once at the very start of every frame
    // "FPS: " + floor(rate) + " ", the rate measured since the previous call.
    std::string getFPS();
};

extern FrameCounter fps; // frames per second for the HUD

// Whole seconds since start-up, as text ("83" after 83.9 s).
std::string elapsedTime();

#endif
