// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Hit points of every mob.
#include "actors/mob.h"

#include <cmath>
#include <sstream>

Mob::Mob(double x, double y, double z) : GameObject(x, y, z, 0, 0, -1) {}

void Mob::update() {}

std::string Mob::getHP() const
{
    std::ostringstream text;
    text << static_cast<int>(std::ceil(hp));
    return text.str();
}
