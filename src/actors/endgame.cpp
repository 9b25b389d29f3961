// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The end of the game: recorded once, at the first player update that finds no hit points.
#include "actors/endgame.h"

#include "core/clock.h"
#include "core/settings.h"

#include <cmath>
#include <sstream>

void recordEnd()
{
    if (set_endgame)
        return;
    set_endgame = true;
    set_score = ticksNow();
}

std::string endScore()
{
    std::ostringstream text;
    text << "survived: " << static_cast<long long>(std::floor(set_score / 1000)) << " sec. ";
    return text.str();
}
