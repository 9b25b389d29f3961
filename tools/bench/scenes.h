// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The fixed scenes that the benchmark times and the golden-frame test compares: each is built
// from scratch on the game's reset world with the clock scripted at 16 ms per frame, so that
// every build of them draws the same picture.
#ifndef GLACIMOR_TOOLS_BENCH_SCENES_H
#define GLACIMOR_TOOLS_BENCH_SCENES_H

#include "core/clock.h"

namespace scenes {

constexpr Ticks FRAME_MS = 16;

// The scripted clock; installScriptedClock puts it behind the game's tick seam.
extern Ticks scriptedTicks;
void installScriptedClock();

// The world as at start-up (the same snowfall every time), with HUD texts as a game shows them,
// the clock standing at `now` and the previous frame 16 ms ago, the camera behind the player.
void resetScene(Ticks now);

// The start of a game: the player alone at the origin, full hit points, the snow at its places.
void buildStart();

// The peak: 1000 enemies on ten rings around the player (radius 12 to 84, 100 each), every
// tenth dead and every tenth stunned for a minute with its "STUNNED" label; a spawn interval
// truncated to nothing, so that every update spawns one enemy and the cap removes the oldest.
// The inner rings are crowded: neighbours overlap, and their coplanar tops fight for depth.
void buildPeak();

// The peak's 1000 enemies on the same ten rings, each ring holding only as many as stand 3
// units apart (25 on the inner ring, 175 on the outer): no two cubes overlap, so every pixel
// of the picture is decided and the picture can be compared across builds.
void buildSpacedPeak();

// The camera wheeled in close behind the player, and a row of five figures between them:
// stunned, cursed and slowed (each with its label), dead, and plain.
void buildLabels();

// The least a frame can cost: the frame's floor steps alone (game/frame.h), the game's own GL
// switches and view, the clear, the skybox and the HUD, nothing in between.
void renderFloor(double aspect);

// The golden frames' scenes (tests/golden, and the browser's check against them): the name of the
// reference picture and how to build what it shows. Four are the scenes above; three are the spaced
// peak with one setting switched as its key would, and the key's message on the HUD.
struct GoldenScene {
    const char* name;
    void (*build)();
};
extern const GoldenScene GOLDEN_SCENES[6];

// The golden scene of that name, or null.
const GoldenScene* findGoldenScene(const char* name);

} // namespace scenes

#endif
