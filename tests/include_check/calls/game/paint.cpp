// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A wrong tree for the layer check: game/ clearing the screen itself.
#include "render/gl.h"

void paint() { glClear(GL_COLOR_BUFFER_BIT); }
