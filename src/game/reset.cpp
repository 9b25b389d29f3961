// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The world as it stands before the first frame, rebuilt from the table that built it.
#include "game/reset.h"

#include "core/settings.h"
#include "game/world.h"

#include <cstdlib>

namespace {

template <typename T>
void destroyAll(std::vector<T*>& list)
{
    for (T* entry : list)
        delete entry;
    list.clear();
}

} // namespace

#define GLACIMOR_RESET_built(type, name, arguments) name = type arguments;
#define GLACIMOR_RESET_owned(type, name, arguments) destroyAll(name);
#define GLACIMOR_RESET_unlinked(type, name, arguments) name.clear();
#define GLACIMOR_RESET_kept(type, name, arguments)
#define GLACIMOR_RESET_OBJECT(type, name, arguments, reset) GLACIMOR_RESET_##reset(type, name, arguments)

void resetWorld()
{
    // The plain values first: they hold before any object is built.
    restoreDefaultSettings();
    restoreClocks();
    flakesDrawn = 0;
    // An unseeded generator starts as seeded with 1. The objects are built again in the table's
    // order and draw from it as at start-up (the snow is its first user), so that the random
    // sequence continues as in a fresh run.
    std::srand(1);
    GLACIMOR_WORLD(GLACIMOR_RESET_OBJECT)
}
