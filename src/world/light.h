// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A light: a GameObject that feeds one OpenGL light through the float position lightPos.
#ifndef GLACIMOR_WORLD_LIGHT_H
#define GLACIMOR_WORLD_LIGHT_H

#include "world/game_object.h"

#include <vector>

class Light : public GameObject {
public:
    unsigned int lightId;
    // The position OpenGL sees (w = 0: a directional light). Copied from pos once at
    // construction; afterwards the frame loop moves it with the player.
    float lightPos[4];

    // Files itself in lightList, which holds every light that exists: a light leaves it when
    // it is destroyed.
    Light(double x, double y, double z, unsigned int lightId);
    ~Light();
    Light(const Light&) = delete;
    Light& operator=(const Light&) = default;

    // Hands the colours and lightPos to OpenGL under an identity modelview, so the
    // position is a world position.
    void render() const;
};

extern std::vector<Light*> lightList; // the lights drawn each frame; owns nothing
extern Light light0;                  // the game's light; follows the player, raised with Up and Down

#endif
