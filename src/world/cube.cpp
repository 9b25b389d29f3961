// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The shared cube drawer.
#include "world/cube.h"

#include "render/geometry.h"
#include "render/gl.h"

void Cube::render(unsigned int texture) const
{
    glBindTexture(GL_TEXTURE_2D, texture);
    GM_GL_cube();
}
