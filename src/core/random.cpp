// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The shared random draw.
#include "core/random.h"

#include <cstdlib>

double rand_double() { return static_cast<double>(std::rand()) / RAND_MAX; }
