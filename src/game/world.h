// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The world's objects in one table: each global object once, in the order C++ must build them,
// with what it is built from and what a reset does with it. The definitions (globals.cpp), the
// reset (reset.cpp), the state the end-to-end tests read (state_report.cpp) and the unit tests
// all read this table. Adding an object of the world is one line here, its declaration in its
// owner's header, and how the reset test describes it (a `describe` overload in
// tests/unit/world_test.cpp, without which the tests do not build); the state report tells nothing
// of it until state_report.cpp gets a `report` overload for its type.
#ifndef GLACIMOR_GAME_WORLD_H
#define GLACIMOR_GAME_WORLD_H

#include "actors/effect.h"
#include "actors/enemy.h"
#include "actors/player.h"
#include "core/clock.h"
#include "core/input.h"
#include "render/gl.h"
#include "render/textures.h"
#include "ui/gui.h"
#include "world/camera.h"
#include "world/cube.h"
#include "world/game_object.h"
#include "world/light.h"
#include "world/particles.h"

#include <vector>

// X(type, name, constructor arguments, what resetWorld does with it), in the order C++ must build
// them: the lists before the light that files itself in lightList, the player before anything that
// looks at it, the snow from the unseeded random generator after the world it falls on.
// Destroyed in reverse at exit. What resetWorld does:
//   built     builds it again from the same arguments
//   owned     a list that owns what it holds: destroys every entry and empties the list
//   unlinked  a list of what others own: empties it
//   kept      leaves it: the lights file themselves (light0 stays filed, and leaves the list only
//             when destroyed), and the textures are the GL context's, loaded once
#define GLACIMOR_WORLD(X)                                                                          \
    X(std::vector<Effect*>, effectList, (), owned) /* before the enemies: effects refer to them */ \
    X(std::vector<Enemy*>, enemyList, (), owned)                                                   \
    X(std::vector<Obstacle*>, obstacleList, (), unlinked)                                          \
    X(std::vector<Light*>, lightList, (), kept)                                                    \
    X(std::vector<unsigned>, textureList, (), kept)                                                \
    X(Camera, camera, (10, 10, 10, 0, 0, 0), built)                                                \
    X(Input, input, (), built)                                                                     \
    X(Player, player, (0, 0, 0), built)                                                            \
    X(Light, light0, (0, 20, 0, GL_LIGHT0), built)                                                 \
    X(Blizzard, blizzard, (0, 0, 0, 200, 200, 200, 8000), built)                                   \
    X(FrameCounter, fps, (), built)                                                                \
    X(Gui, gui, (), built)                                                                         \
    X(Cube, cube, (), built)

#endif
