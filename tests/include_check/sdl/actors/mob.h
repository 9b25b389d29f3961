// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// An actor that sees SDL's key codes: the layer check must reject it.
#include "math/vec3.h"

#include <SDL_keysym.h>
