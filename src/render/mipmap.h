// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The smaller levels of a world texture, made by the game itself (a browser's GL has no GLU), and
// the names of GL's errors for the messages that report them. No GL call here.
#ifndef GLACIMOR_RENDER_MIPMAP_H
#define GLACIMOR_RENDER_MIPMAP_H

#include "render/bmp.h"

// The next level below the given one: half the width and the height (never less than one), each
// pixel the mean of the 2 x 2 pixels it covers (2 x 1 or 1 x 2 once a side is down to one; an odd
// side's last row or column is left out), rounded to the nearest level. Rows padded as in a Bitmap.
Bitmap halveBitmap(const Bitmap& level);

// GL's name of an error code, as a message says it ("out of memory"); "unknown GL error" for a code
// GL does not define.
const char* glErrorName(unsigned error);

#endif
