// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Definitions of the world's global objects, from the one table of game/world.h. Within one file
// C++ builds them top to bottom, which is the order the table gives; each is declared in the
// header of the module that owns it.
#include "game/world.h"

#define GLACIMOR_DEFINE_OBJECT(type, name, arguments, reset) type name = type arguments;
GLACIMOR_WORLD(GLACIMOR_DEFINE_OBJECT)
