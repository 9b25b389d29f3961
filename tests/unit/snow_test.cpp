// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The snowfall's motion: how far flakes fall and drift per frame, where they start again, and
// how many random numbers each frame takes from the game's one generator.
#include "core/clock.h"
#include "core/random.h"
#include "world/particles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// The next n values of rand_double() after srand(seed) and `skip` draws.
std::vector<double> draws(unsigned seed, int skip, int n)
{
    std::srand(seed);
    for (int i = 0; i < skip; ++i)
        std::rand();
    std::vector<double> values;
    for (int i = 0; i < n; ++i)
        values.push_back(rand_double());
    return values;
}

// The raw rand() value after srand(seed) and `skip` draws.
int randAfter(unsigned seed, int skip)
{
    draws(seed, skip, 0);
    return std::rand();
}

// Flakes are big objects (10000 points): tests keep them on the heap.
std::unique_ptr<Blizzard> makeSnow(long count)
{
    return std::make_unique<Blizzard>(0, 0, 0, 200, 200, 200, count);
}

class SnowTest : public ::testing::Test {
protected:
    double savedNormalizer = 0;
    void SetUp() override { savedNormalizer = frameNormalizer; }
    void TearDown() override { frameNormalizer = savedNormalizer; }
};

TEST_F(SnowTest, PlacesEachFlakeFromThreeDrawsInXYZOrder)
{
    std::srand(7);
    auto snow = makeSnow(4);
    const int next = std::rand();
    EXPECT_EQ(next, randAfter(7, 12));
    const std::vector<double> expected = draws(7, 0, 12);
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(snow->particles[i].x, expected[3 * i]);
        EXPECT_DOUBLE_EQ(snow->particles[i].y, expected[3 * i + 1]);
        EXPECT_DOUBLE_EQ(snow->particles[i].z, expected[3 * i + 2]);
    }
    EXPECT_EQ(snow->particleCount, 4);
}

TEST_F(SnowTest, FallsAFiftiethOfTheBoxPerSecondAndDriftsByTheDraws)
{
    auto snow = makeSnow(3);
    snow->particles[0].set(0.5, 0.5, 0.5);
    snow->particles[1].set(0.1, 0.9, 0.2);
    snow->particles[2].set(0.9, 0.01, 0.8);
    frameNormalizer = 2.5; // a 250 ms frame
    std::srand(11);
    snow->update();
    const std::vector<double> r = draws(11, 0, 6);
    const double start[3][3] = {{0.5, 0.5, 0.5}, {0.1, 0.9, 0.2}, {0.9, 0.01, 0.8}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(snow->particles[i].y, start[i][1] - 0.005);
        EXPECT_DOUBLE_EQ(snow->particles[i].x, start[i][0] + (r[2 * i] - 0.5) * 0.0025);
        EXPECT_DOUBLE_EQ(snow->particles[i].z, start[i][2] + (r[2 * i + 1] - 0.5) * 0.0025);
    }
    // 250 ms of the game's 200-unit box is one world unit of fall.
    EXPECT_NEAR((0.5 - snow->particles[0].y) * snow->sizeY, 1.0, 1e-9);
}

TEST_F(SnowTest, StandsStillWithoutElapsedTimeButStillDrawsTwoNumbersPerFlake)
{
    auto snow = makeSnow(50);
    std::vector<vec3> before(snow->particles, snow->particles + 50);
    // A flake on the ground stays there while no time passes.
    snow->particles[0].set(0.25, 0.0, 0.75);
    before[0] = snow->particles[0];
    frameNormalizer = 0;
    std::srand(3);
    snow->update();
    const int next = std::rand();
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(snow->particles[i].x, before[i].x) << i;
        EXPECT_EQ(snow->particles[i].y, before[i].y) << i;
        EXPECT_EQ(snow->particles[i].z, before[i].z) << i;
    }
    EXPECT_EQ(next, randAfter(3, 100));
}

TEST_F(SnowTest, FlakeOnTheGroundRestartsAtTheTopOnlyOnceBelowIt)
{
    auto snow = makeSnow(1);
    snow->particles[0].set(0.25, 0.0, 0.75);
    frameNormalizer = 0;
    snow->update();
    EXPECT_EQ(snow->particles[0].y, 0.0);
    EXPECT_EQ(snow->particles[0].x, 0.25);

    frameNormalizer = 1;
    std::srand(5);
    snow->update();
    const int next = std::rand();
    // Two drift draws, then the new x and z, in that order.
    const std::vector<double> r = draws(5, 0, 4);
    EXPECT_EQ(snow->particles[0].y, 1.0);
    EXPECT_DOUBLE_EQ(snow->particles[0].x, r[2]);
    EXPECT_DOUBLE_EQ(snow->particles[0].z, r[3]);
    EXPECT_EQ(next, randAfter(5, 4));

    // Back at the top it falls normally again.
    snow->update();
    EXPECT_DOUBLE_EQ(snow->particles[0].y, 0.998);
}

TEST_F(SnowTest, FlakesThatDriftedOutOfTheBoxKeepMoving)
{
    auto snow = makeSnow(2);
    snow->particles[0].set(-0.05, 0.5, 1.05);
    snow->particles[1].set(1.2, 0.3, -0.4);
    frameNormalizer = 1;
    std::srand(9);
    snow->update();
    const std::vector<double> r = draws(9, 0, 4);
    EXPECT_DOUBLE_EQ(snow->particles[0].x, -0.05 + (r[0] - 0.5) * 0.001);
    EXPECT_DOUBLE_EQ(snow->particles[0].z, 1.05 + (r[1] - 0.5) * 0.001);
    EXPECT_DOUBLE_EQ(snow->particles[0].y, 0.498);
    EXPECT_DOUBLE_EQ(snow->particles[1].x, 1.2 + (r[2] - 0.5) * 0.001);
    EXPECT_DOUBLE_EQ(snow->particles[1].z, -0.4 + (r[3] - 0.5) * 0.001);
    // Outside the box in the world too: 10 units beyond the x = -100 wall.
    const vec3 p = snow->worldPoint(0);
    EXPECT_NEAR(p.x, -110, 0.2);
    EXPECT_NEAR(p.y, 99.6, 1e-9);
    EXPECT_NEAR(p.z, 110, 0.2);
}

TEST_F(SnowTest, WorldPointIsCentredOnTheBoxBottom)
{
    auto snow = std::make_unique<Blizzard>(10, -1, 20, 40, 80, 100, 1);
    snow->particles[0].set(0, 0, 0);
    EXPECT_EQ(snow->worldPoint(0).x, -10);
    EXPECT_EQ(snow->worldPoint(0).y, -1);
    EXPECT_EQ(snow->worldPoint(0).z, -30);
    snow->particles[0].set(1, 1, 0.5);
    EXPECT_EQ(snow->worldPoint(0).x, 30);
    EXPECT_EQ(snow->worldPoint(0).y, 79);
    EXPECT_EQ(snow->worldPoint(0).z, 20);
}

TEST_F(SnowTest, PlainParticleSystemNeitherMovesNorDraws)
{
    auto plain = std::make_unique<Particlesystem>(0, 0, 0, 200, 200, 200, 1);
    plain->particles[0].set(0.5, 0.0, 0.5);
    frameNormalizer = 5;
    std::srand(13);
    plain->update();
    plain->render(); // there is no GL context here: any drawing would crash
    const int next = std::rand();
    EXPECT_EQ(plain->particles[0].y, 0.0);
    EXPECT_EQ(next, randAfter(13, 0));
}

} // namespace
