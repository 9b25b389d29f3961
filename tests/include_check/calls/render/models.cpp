// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A wrong tree for the layer check: a GL header taken past render/gl.h.
#include <GL/gl.h>
