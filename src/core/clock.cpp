// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Clock seam and frame timing. Everything that reads the time goes through ticksNow.
#include "core/clock.h"

#include <cmath>
#include <sstream>

#define GLACIMOR_DEFINE_CLOCK(type, name, value) type name = value;
GLACIMOR_CLOCKS(GLACIMOR_DEFINE_CLOCK)

void restoreClocks()
{
#define GLACIMOR_RESTORE_CLOCK(type, name, value) name = value;
    GLACIMOR_CLOCKS(GLACIMOR_RESTORE_CLOCK)
}

namespace {

TickSource tickSource = nullptr;

} // namespace

Ticks ticksNow() { return tickSource ? tickSource() : 0; }

void setTickSource(TickSource source) { tickSource = source; }

void advanceClock()
{
    game_time = ticksNow();
    game_time_delta = game_time - game_time_last;
    game_time_last = game_time;
    frameNormalizer = game_time_delta / 100.0;
}

void FrameCounter::addFrame() { ++frameCount; }

std::string FrameCounter::getFPS()
{
    now = ticksNow();
    const Ticks elapsed = now - lastTime;
    fpsValue = static_cast<double>(frameCount - lastFrameCount) / static_cast<double>(elapsed) * 1000.0;
    lastFrameCount = frameCount;
    lastTime = now;

    std::ostringstream text;
    text << "FPS: " << std::floor(fpsValue) << " ";
    return text.str();
}

std::string elapsedTime()
{
    std::ostringstream text;
    text << ticksNow() / 1000;
    return text.str();
}
