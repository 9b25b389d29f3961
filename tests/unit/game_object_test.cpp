// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Placement, headings and elevation of world objects, and static obstacles.
#include "world/game_object.h"


#include <gtest/gtest.h>

namespace {

double azimutOf(double x, double y, double z)
{
    GameObject g(0, 0, 0, x, y, z);
    return g.azimut();
}

double arcOf(double x, double y, double z)
{
    GameObject g(0, 0, 0, x, y, z);
    return g.arc();
}

} // namespace

TEST(GameObject, StartsActiveFacingWhatItWasGivenUnnormalised)
{
    GameObject g(1, 2, 3, 0, 0, -5);
    EXPECT_EQ(g.state, STATE_ACTIVE);
    EXPECT_EQ(g.dir.z, -5.0);
    EXPECT_EQ(g.up.y, 1.0);
    EXPECT_EQ(g.pos.x, 1.0);
    EXPECT_EQ(g.ambient[3], 1.0f);
    EXPECT_EQ(g.diffuse[0], 0.0f);
}

TEST(GameObject, HeadingOfTheFourAxesCarriesTheDegreeFactor)
{
    EXPECT_DOUBLE_EQ(azimutOf(1, 0, 0), 90.0000007648485);
    EXPECT_DOUBLE_EQ(azimutOf(0, 0, 1), 180.0000007648485);
    EXPECT_DOUBLE_EQ(azimutOf(-1, 0, 0), 270.0000007648485);
    // Straight ahead falls into the last quadrant: 360, not 0.
    EXPECT_DOUBLE_EQ(azimutOf(0, 0, -1), 360.0000007648485);
}

TEST(GameObject, HeadingWithoutHorizontalPartIsZero)
{
    EXPECT_EQ(azimutOf(0, 0, 0), 0.0);
    EXPECT_EQ(azimutOf(0, 1, 0), 0.0);
    EXPECT_EQ(azimutOf(0, -3, 0), 0.0);
}

TEST(GameObject, HeadingGrowsClockwiseSeenFromAbove)
{
    EXPECT_NEAR(azimutOf(1, 0, -1), 45.0, 1e-5);
    EXPECT_NEAR(azimutOf(1, 0, 1), 135.0, 1e-5);
    EXPECT_NEAR(azimutOf(-1, 0, 1), 225.0, 1e-5);
    EXPECT_NEAR(azimutOf(-1, 0, -1), 315.0, 1e-5);
    // The vertical part does not count.
    EXPECT_DOUBLE_EQ(azimutOf(1, 5, -1), azimutOf(1, 0, -1));
}

TEST(GameObject, ElevationIsSignedByTheVerticalPart)
{
    EXPECT_DOUBLE_EQ(arcOf(1, 1, 0), 45.000000382424254);
    EXPECT_DOUBLE_EQ(arcOf(0, -1, -1), -45.000000382424254);
    EXPECT_EQ(arcOf(1, 0, 0), 0.0);
    EXPECT_EQ(arcOf(0.3, 0, -0.8), 0.0);
    // Straight up or down has no horizontal part to measure against.
    EXPECT_EQ(arcOf(0, 1, 0), 0.0);
    EXPECT_EQ(arcOf(0, -1, 0), 0.0);
}

TEST(GameObject, LookNormalisesAndLookingAtNothingLeavesZero)
{
    GameObject g(0, 0, 0, 0, 0, -1);
    g.look(0, 3, 4);
    EXPECT_DOUBLE_EQ(g.dir.y, 0.6);
    EXPECT_DOUBLE_EQ(g.dir.z, 0.8);
    g.look(0, 0, 0);
    EXPECT_EQ(g.dir.x, 0.0);
    EXPECT_EQ(g.dir.y, 0.0);
    EXPECT_EQ(g.dir.z, 0.0);
    EXPECT_EQ(g.azimut(), 0.0);
    EXPECT_EQ(g.arc(), 0.0);
}

TEST(GameObject, LookAtFacesTheOtherPosition)
{
    GameObject g(1, 0, 1, 0, 0, -1);
    const GameObject other(1, 0, -9, 1, 0, 0);
    g.lookAt(other);
    EXPECT_DOUBLE_EQ(g.dir.z, -1.0);
    EXPECT_EQ(g.dir.x, 0.0);
    const GameObject same(1, 0, 1, 0, 1, 0);
    g.lookAt(same);
    EXPECT_EQ(g.dir.length(), 0.0);
}

TEST(GameObject, MoveStepsAlongWorldAxesWhateverItFaces)
{
    GameObject g(0, 0, 0, 1, 0, 0);
    g.move(1, 0, 0);
    EXPECT_EQ(g.pos.x, 1.0);
    g.look(0, 0, 1);
    g.move(1, 0, 0);
    EXPECT_EQ(g.pos.x, 2.0);
    EXPECT_EQ(g.pos.z, 0.0);
    g.move(vec3(0, -1, 2));
    EXPECT_EQ(g.pos.y, -1.0);
    EXPECT_EQ(g.pos.z, 2.0);
    g.place(5, 6, 7);
    EXPECT_EQ(g.pos.x, 5.0);
    g.place(vec3(-1, -2, -3));
    EXPECT_EQ(g.pos.z, -3.0);
}

TEST(GameObject, RotateTurnsCounterclockwiseSeenFromAbove)
{
    GameObject g(0, 0, 0, 0, 0, -1);
    g.rotate(90); // to the left
    EXPECT_NEAR(g.dir.x, -1.0, 1e-12);
    EXPECT_NEAR(g.azimut(), 270.0, 1e-5);
    g.rotate(-180);
    EXPECT_NEAR(g.dir.x, 1.0, 1e-12);
}

TEST(GameObject, DistanceIsStraightLineInThreeDimensions)
{
    const GameObject a(1, 2, 3, 0, 0, -1);
    const GameObject b(3, 5, 9, 0, 0, -1);
    EXPECT_DOUBLE_EQ(a.distance(b), 7.0);
    EXPECT_DOUBLE_EQ(b.distance(a), 7.0);
    EXPECT_DOUBLE_EQ(a.distance(1, 2, 3), 0.0);
}

TEST(Obstacle, TurnedObstacleFacesItsAngleAndFilesItselfOnce)
{
    const std::size_t before = obstacleList.size();
    {
        Obstacle wall(4, 0, -4, 90);
        EXPECT_NEAR(wall.dir.x, -1.0, 1e-12);
        EXPECT_EQ(wall.dir.y, 0.0);
        EXPECT_NEAR(wall.dir.z, 0.0, 1e-7);
        EXPECT_NEAR(wall.azimut(), 270.0, 1e-5);
        EXPECT_EQ(wall.pos.x, 4.0);
        ASSERT_EQ(obstacleList.size(), before + 1);
        EXPECT_EQ(obstacleList.back(), &wall);
    }
    // The list does not own what it points to; drop the stale pointer.
    obstacleList.resize(before);
}
