// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The fixed models of the world: the coloured cube every object wears, the skybox and a snowflake.
#ifndef GLACIMOR_RENDER_GEOMETRY_H
#define GLACIMOR_RENDER_GEOMETRY_H

#include "math/vec3.h"

// The whole 2 x 2 x 2 cube about the current origin: green back (+z), white left (-x), red
// front (-z), blue right (+x), textured; grey bottom and top; one draw of 36 corners. Leaves the
// matrix as it was, the colour at grey, the normal at (1, 1, -1) and the texture coordinate at
// (1, 1). Needs a current GL context.
void GM_GL_cube();

// The 200-unit box of walls, ceiling and ice floor, fixed in the world. Leaves the modelview
// at identity, the floor texture bound, colour white, normal (0, 0, -1), texture coordinate (1, 0).
void GM_GL_skybox();

// Flakes, each two crossed double-sided diamonds centred on its world point: all of them in one
// list of triangles, drawn in as few draws as 16-bit indices allow (one for up to 4096 flakes).
void GM_GL_flakes(const vec3* centres, long count);

// One flake at the world point.
void GM_GL_flake(double x, double y, double z);

#endif
