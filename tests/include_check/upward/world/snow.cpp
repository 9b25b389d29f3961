// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A world file that reaches up into the actors: the layer check must reject it.
#include "world/snow.h"

#include "actors/enemy.h"
