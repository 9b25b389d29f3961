// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Enemies: spawned at the plateau's edge, they walk straight at the player and drain
// its hit points while within reach.
#ifndef GLACIMOR_ACTORS_ENEMY_H
#define GLACIMOR_ACTORS_ENEMY_H

#include "actors/mob.h"

#include <cstddef>
#include <vector>

// The most enemies the field holds after the frame's cap; the oldest goes first.
constexpr std::size_t ENEMY_CAP = 1000;

class Enemy : public Mob {
public:
    double sight = 1000; // chase radius; the whole plateau lies within it

    // Files itself at the end of enemyList, which owns it.
    Enemy(double x, double y, double z);
    void update() override;
};

extern std::vector<Enemy*> enemyList; // every enemy, living or dead, oldest first; owns them

// The point of the plateau's edge for the draws r (which edge, in [0, 1]) and t (where along
// it, in [-99, 99]): r below 0.25 the edge x = 99, below 0.5 x = -99, below 0.75 z = 99, else z = -99.
vec3 spawnPoint(double r, double t);

// Creates one enemy at a random point of the plateau's edge (two draws of rand_double).
void spawnEnemy();

// Frame step: spawns at most one enemy when the (truncated, shrinking) interval is used up.
void runSpawnTimer();

// Frame step: deletes the oldest enemies while more than ENEMY_CAP are on the field,
// ending first every effect that refers to them.
void capEnemies();

#endif
