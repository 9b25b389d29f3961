// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The benchmark's and the golden frames' fixed scenes.
#include "scenes.h"

#include "actors/effect.h"
#include "actors/enemy.h"
#include "actors/player.h"
#include "core/settings.h"
#include "game/frame.h"
#include "game/reset.h"
#include "math/vec3.h"
#include "ui/gui.h"

#include <cmath>
#include <cstring>

namespace scenes {

Ticks scriptedTicks = 0;

namespace {

Ticks scriptedClock() { return scriptedTicks; }

// The peak's field: a game seven minutes in, ten rings of enemies around the player.
constexpr Ticks PEAK_TIME = 420000;
constexpr int RINGS = 10;
constexpr int PER_RING = 100;
constexpr double FIRST_RADIUS = 12;
constexpr double RING_STEP = 8;
// Two upright cubes never touch when their centres are 3 apart, however they are turned: each
// reaches at most half the diagonal of its 2 x 2 cross-section, 1.415, from its upright axis.
constexpr double SPACING = 3;

// One enemy of the field at (radius, angle in degrees), facing the player; the n-th of the
// field is dead when n % 10 is 3 and stunned for a minute when n % 10 is 7.
void placeEnemy(double radius, double degrees, int n)
{
    const double angle = degrees / DEGREES_PER_RADIAN;
    Enemy* enemy = new Enemy(radius * std::sin(angle), 0, radius * std::cos(angle));
    enemy->lookAt(player);
    if (n % 10 == 3) {
        enemy->hp = 0;
        enemy->state = STATE_DEAD;
    } else if (n % 10 == 7) {
        new Stun(player, *enemy, 60000);
    }
}

// The peak's state around its field: no wait for the next spawn, and fewer hit points shown.
void finishPeak()
{
    set_spawntime = 0.9;
    gui.setText2("37", 1.0, 1.0, 1.0);
}

} // namespace

void installScriptedClock() { setTickSource(scriptedClock); }

void resetScene(Ticks now)
{
    resetWorld();
    gui.setText1("FPS: 60 ", 1.0, 1.0, 0.0);
    gui.setText2("100", 1.0, 1.0, 1.0);

    scriptedTicks = now;
    game_time = now;
    game_time_last = now - FRAME_MS;
    game_time_delta = FRAME_MS;
    game_time500 = now;
    game_timeN = now;
    frameNormalizer = FRAME_MS / 100.0;

    placeCamera();
}

void buildStart() { resetScene(0); }

void buildPeak()
{
    resetScene(PEAK_TIME);
    int n = 0;
    for (int ring = 0; ring < RINGS; ++ring) {
        const double radius = FIRST_RADIUS + RING_STEP * ring;
        for (int k = 0; k < PER_RING; ++k)
            placeEnemy(radius, 360.0 * k / PER_RING + 1.8 * ring, n++);
    }
    finishPeak();
}

void buildSpacedPeak()
{
    resetScene(PEAK_TIME);
    int n = 0;
    for (int ring = 0; ring < RINGS; ++ring) {
        const double radius = FIRST_RADIUS + RING_STEP * ring;
        // As many as fit 3 apart along the ring: a chord is a little shorter than its arc,
        // and at 25 or more to a ring the shortest chord is still above 2.99.
        const int count = static_cast<int>(2 * M_PI * radius / SPACING);
        for (int k = 0; k < count; ++k)
            placeEnemy(radius, 360.0 * k / count + 1.8 * ring, n++);
    }
    finishPeak();
}

void buildLabels()
{
    resetScene(65000);
    // The camera wheeled in six steps (180 / 1.2^6, about 60 behind the player), and the row
    // 20 ahead of it toward the camera, so that the labels are large enough to read.
    player.camDist = 180 / std::pow(1.2, 6);
    placeCamera();
    const double xs[5] = {-10, -5, 0, 5, 10};
    Enemy* row[5];
    for (int i = 0; i < 5; ++i) {
        row[i] = new Enemy(xs[i], 0, 20);
        row[i]->lookAt(player);
    }
    new Stun(player, *row[0], 60000);
    new Deathcurse(player, *row[1], 60000);
    new Slow(player, *row[2], 60000, 0.5);
    row[3]->hp = 0;
    row[3]->state = STATE_DEAD;
    gui.setText2("64", 1.0, 1.0, 1.0);
    gui.setText3("alpha on", 1.0, 1.0, 1.0);
}

namespace {

template <bool* setting>
void spacedPeakWithout(const char* message)
{
    buildSpacedPeak();
    *setting = !*setting;
    gui.setText3(message, 1.0, 1.0, 1.0);
}

} // namespace

const GoldenScene GOLDEN_SCENES[6] = {
    {"start", buildStart},
    {"spaced_peak", buildSpacedPeak},
    {"labels", buildLabels},
    {"wireframe", [] { spacedPeakWithout<&set_wireframe>("wireframe on"); }},
    {"shading_off", [] { spacedPeakWithout<&set_shading>("shading off"); }},
    {"blending_off", [] { spacedPeakWithout<&set_alpha>("alpha off"); }},
};

const GoldenScene* findGoldenScene(const char* name)
{
    for (const GoldenScene& scene : GOLDEN_SCENES)
        if (std::strcmp(scene.name, name) == 0)
            return &scene;
    return nullptr;
}

void renderFloor(double aspect)
{
    for (const RenderStep& step : renderSteps())
        if (step.floor)
            step.run(aspect);
}

} // namespace scenes
