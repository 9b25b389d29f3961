// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Mobs: scene objects that fight, with hit points, a speed and a reach.
#ifndef GLACIMOR_ACTORS_MOB_H
#define GLACIMOR_ACTORS_MOB_H

#include "world/game_object.h"

#include <string>

class Mob : public GameObject {
public:
    double hp = 100;     // fractional: damage is proportional to frame time
    double speed = 1.0;  // world units per 100 ms
    double range = 8.0;  // reach: enemies hurt within it and stop at range - 4

    Mob(double x, double y, double z);
    virtual ~Mob() = default;
    virtual void update();

    // Hit points rounded up to a whole number, as HUD text ("1" for 0.4).
    std::string getHP() const;
};

#endif
