// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Putting the world back as the program has it when main starts, for the tests and the benchmark.
#ifndef GLACIMOR_GAME_RESET_H
#define GLACIMOR_GAME_RESET_H

// Restores the settings and the clocks, starts the random sequence over, then puts every object
// of the world table (game/world.h) back in the table's order as the table says: the effects and
// enemies destroyed, the obstacles unlinked, the rest built again from the arguments that built
// them (the snow from the generator's first numbers, as in a fresh run). The GL resources
// (textures, programs) and the tick source are left as they are.
void resetWorld();

#endif
