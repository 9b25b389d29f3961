// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Whole frames of the game without a window: the clock scripted, the frame's update run as the
// loop runs it (count the frame, read the clock, update the world), input fed as SDL events.
#include "game_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

bool finite(const vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

} // namespace

using SimulationTest = GameTest;

TEST_F(SimulationTest, SpawnScheduleShrinksFromTwoSeconds)
{
    set_god = true;
    std::vector<Ticks> spawnedAt;
    std::vector<Ticks> slots;
    for (Ticks t = 1; t <= 15721; ++t) {
        const std::size_t before = enemyList.size();
        frameAt(t);
        if (enemyList.size() > before) {
            spawnedAt.push_back(t);
            slots.push_back(game_timeN);
        }
    }
    // Each interval is 2000 * 0.995^k, truncated to whole milliseconds.
    const std::vector<Ticks> expected = {2000, 3990, 5970, 7940, 9900, 11850, 13790, 15721};
    EXPECT_EQ(spawnedAt, expected);
    EXPECT_EQ(slots, expected);
}

TEST_F(SimulationTest, SpawnComesInTheFirstFrameAtOrAfterItsSlot)
{
    set_god = true;
    std::vector<Ticks> spawnedAt;
    for (Ticks t = 16; t <= 6000; t += 16) {
        const std::size_t before = enemyList.size();
        frameAt(t);
        if (enemyList.size() > before)
            spawnedAt.push_back(t);
    }
    // Slots 2000, 3990, 5970; the spawn clock keeps the slots, not the frame times.
    const std::vector<Ticks> expected = {2000, 4000, 5984};
    EXPECT_EQ(spawnedAt, expected);
    EXPECT_EQ(game_timeN, 5970u);
}

TEST_F(SimulationTest, LateFirstFrameWorksOffTheBacklogOneSpawnPerFrame)
{
    set_god = true;
    frameAt(5000);
    EXPECT_EQ(enemyList.size(), 1u);
    EXPECT_EQ(game_timeN, 2000u);
    EXPECT_DOUBLE_EQ(frameNormalizer, 50.0);
    frameAt(5016);
    EXPECT_EQ(enemyList.size(), 2u);
    EXPECT_EQ(game_timeN, 3990u);
    frameAt(5032);
    EXPECT_EQ(enemyList.size(), 2u);
}

TEST_F(SimulationTest, IntervalRunsOutAfter1517Spawns)
{
    set_god = true;
    // A first frame far behind the spawn clock, then frames in the same millisecond: every
    // frame works off one interval, and nothing moves (frameNormalizer 0) after the first.
    const Ticks late = 400000;
    Ticks previousSlot = 0;
    for (int spawn = 1; spawn <= 1517; ++spawn) {
        frameAt(late);
        ASSERT_GT(game_timeN, previousSlot) << "interval already 0 at spawn " << spawn;
        previousSlot = game_timeN;
        ASSERT_LE(enemyList.size(), 1000u);
    }
    EXPECT_EQ(game_timeN, 399063u);
    EXPECT_EQ(static_cast<Ticks>(set_spawntime), 0u);
    EXPECT_EQ(enemyList.size(), 1000u);
    // From now on one enemy in every frame, the oldest making room.
    Enemy* oldest = enemyList.front();
    Enemy* second = enemyList[1];
    frameAt(late);
    EXPECT_EQ(game_timeN, 399063u);
    EXPECT_EQ(enemyList.size(), 1000u);
    EXPECT_EQ(enemyList.front(), second);
    EXPECT_NE(enemyList.back(), oldest);
}

TEST_F(SimulationTest, TenMinutesStandingStill)
{
    // The player never moves: the enemies reach it, stop short of it, it dies, and the world goes on.
    Ticks deathTick = 0;
    std::size_t closeAtDeath = 0; // enemies within 4 units
    double nearestAtDeath = 1e9;
    std::size_t maxEnemies = 0;
    Enemy* newestAtDeath = nullptr;
    std::size_t spawnsAfterDeath = 0;
    Ticks lastSlot = 0;
    for (Ticks t = 16; t <= 600000; t += 16) {
        frameAt(t);
        maxEnemies = std::max(maxEnemies, enemyList.size());
        ASSERT_LE(enemyList.size(), 1000u) << "at " << t;
        if (set_endgame && deathTick == 0) {
            deathTick = t;
            newestAtDeath = enemyList.back();
            lastSlot = game_timeN;
            for (const Enemy* e : enemyList) {
                closeAtDeath += e->distance(player) < 4.0;
                nearestAtDeath = std::min(nearestAtDeath, e->distance(player));
            }
        }
        if (deathTick != 0 && game_timeN != lastSlot) {
            ++spawnsAfterDeath;
            lastSlot = game_timeN;
        }
        if (t % 16000 == 0) {
            ASSERT_TRUE(finite(player.pos));
            for (const Enemy* e : enemyList)
                ASSERT_TRUE(finite(e->pos) && finite(e->dir) && std::isfinite(e->hp)) << "at " << t;
        }
    }
    ASSERT_NE(deathTick, 0u);
    EXPECT_EQ(player.state, STATE_DEAD);
    EXPECT_EQ(player.hp, 0.0);
    EXPECT_EQ(set_score, static_cast<double>(deathTick));
    EXPECT_LT(deathTick, 60000u); // a player who stands still does not last a minute
    // Those that came stopped 4 units short of it, each within its last step (0.16 units in a 16 ms
    // frame): a golden count of them, and none nearer.
    EXPECT_EQ(deathTick, 17120u) << "death tick";
    EXPECT_EQ(closeAtDeath, 2u) << "enemies stopped by the player at its death";
    EXPECT_GT(nearestAtDeath, 4.0 - 0.16);
    EXPECT_EQ(player.pos.x, 0.0);
    EXPECT_EQ(player.pos.z, 0.0);
    EXPECT_EQ(maxEnemies, 1000u);
    EXPECT_EQ(enemyList.size(), 1000u);
    EXPECT_NE(enemyList.back(), newestAtDeath);
    EXPECT_GT(spawnsAfterDeath, 1000u);
    EXPECT_TRUE(effectList.empty());
}

TEST_F(SimulationTest, AttacksWhileTheCapDeletesStunnedEnemies)
{
    // A full field, one enemy spawned per frame so that the cap deletes the oldest in every
    // frame, and the player pressing both attacks all the time. Every 30th enemy stands in
    // reach of both bursts, up to the 600th: the cap deletes them while they carry running stuns.
    set_god = true;
    set_spawntime = 0.5; // interval 0: one spawn in every frame
    std::srand(7);
    for (int i = 0; i < 1000; ++i) {
        if (i % 30 == 0 && i < 600) {
            const double a = i * 0.1;
            new Enemy(6 * std::cos(a), 0, 6 * std::sin(a));
        } else {
            spawnEnemy();
            enemyList.back()->speed = 0; // the crowd at the edge stays out of reach
        }
    }
    bool running = true;
    EventContext context;
    context.running = &running;

    std::size_t presses = 0;
    std::size_t maxEffects = 0;
    for (Ticks t = 100; t <= 60000; t += 100) {
        ScriptedClock::set(t);
        beginFrame();
        click(SDL_BUTTON_LEFT, context);
        click(SDL_BUTTON_RIGHT, context);
        press(SDLK_1, context);
        release(SDLK_1, context);
        press(SDLK_2, context);
        release(SDLK_2, context);
        presses += 4;
        updateFrame();
        enemyList.back()->speed = 0;

        ASSERT_EQ(enemyList.size(), 1000u);
        maxEffects = std::max(maxEffects, effectList.size());
        // What is left after a frame is running stuns, younger than their 5 s, on listed enemies.
        for (const Effect* effect : effectList) {
            ASSERT_EQ(effect->status, EFFECT_RUNNING);
            ASSERT_LT(t - effect->startTime, 5000u);
        }
        if (t % 5000 == 0) {
            for (const Effect* effect : effectList) {
                ASSERT_NE(dynamic_cast<const Stun*>(effect), nullptr);
                ASSERT_NE(std::find(enemyList.begin(), enemyList.end(), &effect->target), enemyList.end());
            }
        }
    }
    EXPECT_EQ(presses, 2400u);
    // In reach: 20 enemies, two stun presses per frame, a stun lives 50 frames.
    EXPECT_GT(maxEffects, 0u);
    EXPECT_LE(maxEffects, 20u * 2 * 50);
    // The last enemy in reach (the 571st) went with the 571st frame; its stuns went with it.
    EXPECT_TRUE(effectList.empty());
}

TEST_F(SimulationTest, GoldenRunDiesAtOneExactTick)
{
    // Pins the whole game's behaviour: a fixed script of keys, mouse and clock, from the world and
    // the random sequence as the program has them when main starts (the snow placed from the
    // generator's default state), gives one exact tick of death. Any change to spawning, enemy
    // steps, damage, the player's movement or turning, the snow's draws, the order of the frame
    // or the clock moves it; if such a change is intended, run this once and pin the new tick.
    bool running = true;
    EventContext context;
    context.running = &running;

    Ticks t = 0;
    int frame = 0;
    while (!set_endgame && t < 300000) {
        t += (frame % 3 == 0) ? 17 : 16; // an uneven frame rate, as on a real machine
        ScriptedClock::set(t);
        beginFrame();
        switch (frame) {
        case 150: press(SDLK_w, context); break;
        case 200: dispatchEvent(motionEvent(300, 40), context); break; // 45 degrees right
        case 420: release(SDLK_w, context); break;
        case 500: press(SDLK_a, context); break;
        case 560: release(SDLK_a, context); break;
        case 600: dispatchEvent(motionEvent(-150, -20), context); break;
        case 700: press(SDLK_F1, context); break; // god mode on...
        case 1300: press(SDLK_F1, context); break; // ...and off
        case 1400: press(SDLK_s, context); break;
        case 1500: press(SDLK_d, context); break;
        case 1700: release(SDLK_s, context); release(SDLK_d, context); break;
        case 1800: click(SDL_BUTTON_RIGHT, context); break;
        case 1810: click(SDL_BUTTON_LEFT, context); break;
        default: break;
        }
        if (frame % 50 == 25)
            dispatchEvent(motionEvent(7, -3), context);
        updateFrame();
        ++frame;
    }
    ASSERT_TRUE(set_endgame);
    EXPECT_EQ(set_score, static_cast<double>(t));
    EXPECT_EQ(t, 23782u) << "death tick";
    EXPECT_EQ(enemyList.size(), 12u) << "enemies at death";
}

TEST_F(SimulationTest, SpawnsAndSnowDrawFromOneSequenceInFrameOrder)
{
    // Three frames as main runs them, two of them spawning; then the same draws replayed by
    // hand from the generator's default state: the snow's placement, and in every frame the
    // spawn's two draws before the snow's advance. Enemies and flakes must land on the same spots.
    set_god = true;
    const Ticks frames[] = {2000, 2016, 3990};
    std::vector<double> normalizers;
    for (Ticks t : frames) {
        frameAt(t);
        normalizers.push_back(frameNormalizer);
    }
    ASSERT_EQ(enemyList.size(), 2u);

    std::srand(1);
    auto snow = std::make_unique<Blizzard>(0, 0, 0, 200, 200, 200, 8000);
    std::vector<vec3> spawned;
    for (std::size_t i = 0; i < 3; ++i) {
        if (i != 1) {
            const double r = rand_double();
            const double t = rand_double() * 198 - 99;
            spawned.push_back(spawnPoint(r, t));
        }
        frameNormalizer = normalizers[i];
        snow->update();
    }
    // Each enemy has walked straight at the player (at the origin) since its spawn frame, by
    // speed x frameNormalizer per frame, and is still far from it.
    const double walked[2] = {normalizers[0] + normalizers[1] + normalizers[2], normalizers[2]};
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const vec3 from = spawned[i];
        const double scale = 1 - walked[i] / from.length();
        EXPECT_NEAR(enemyList[i]->pos.x, from.x * scale, 1e-9);
        EXPECT_NEAR(enemyList[i]->pos.z, from.z * scale, 1e-9);
    }
    for (long i = 0; i < 8000; ++i) {
        ASSERT_EQ(snow->particles[i].x, blizzard.particles[i].x) << i;
        ASSERT_EQ(snow->particles[i].y, blizzard.particles[i].y) << i;
        ASSERT_EQ(snow->particles[i].z, blizzard.particles[i].z) << i;
    }
}
