// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Particle systems: a box of points in local unit coordinates; the snowfall is one of them.
// The flakes move without GL (update); only render draws.
#ifndef GLACIMOR_WORLD_PARTICLES_H
#define GLACIMOR_WORLD_PARTICLES_H

#include "math/vec3.h"

// The most points a particle system can hold.
constexpr long MAX_PARTICLES = 10000;

class Particlesystem {
public:
    // Points in the unit box: 0 to 1 on each axis spans the whole box.
    vec3 particles[MAX_PARTICLES];
    double sizeX, sizeY, sizeZ; // extent of the box in world units
    long particleCount;         // points in use, at most MAX_PARTICLES
    vec3 position;              // centre of the box's bottom face, in the world

    Particlesystem(double x, double y, double z, double sizeX, double sizeY, double sizeZ, long count);
    virtual ~Particlesystem() = default;
    virtual void init() {}
    virtual void update() {}
    virtual void render() {}

    // World position of point i.
    vec3 worldPoint(long i) const;
};

// 8000 flakes drifting down through the world, restarting at the top.
class Blizzard : public Particlesystem {
public:
    Blizzard(double x, double y, double z, double sizeX, double sizeY, double sizeZ, long count);
    void init() override;   // places every flake at random
    // One frame of falling and drifting: the frame's snow step, once per frame after the spawn
    // timer. Draws two to four numbers per flake from the game's one random sequence.
    void update() override;
    void render() override; // draws the flakes near the light, as they stand
};

extern Blizzard blizzard; // the snowfall

// Counts the flakes drawn by the last Blizzard::render, for tests and the benchmark.
extern long flakesDrawn;

#endif
