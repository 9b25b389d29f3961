// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's one random sequence: the runtime library's rand(), never seeded, so every run
// (the snowfall's layout at start-up included) is the same game.
#ifndef GLACIMOR_CORE_RANDOM_H
#define GLACIMOR_CORE_RANDOM_H

// rand() / RAND_MAX, in [0, 1]. Spawning and the snowfall draw from it in turn, so the order of
// the draws within a frame decides where enemies appear.
double rand_double();

#endif
