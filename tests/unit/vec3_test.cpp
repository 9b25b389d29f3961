// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Vector arithmetic, angles and rotations.
#include "math/vec3.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectVec(const vec3& v, double x, double y, double z, double tolerance = 1e-12)
{
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

} // namespace

TEST(Vec3, AngleOfParallelVectorsIsZeroNotNaN)
{
    // The cosine of (1,1,1) with itself rounds just above 1; unclamped it would give NaN.
    EXPECT_EQ(vec3(1, 1, 1).angle(1, 1, 1), 0.0);
    EXPECT_EQ(vec3(-2, 3, 7).angle(-2, 3, 7), 0.0);
    // The opposite direction rounds just below -1 for some vectors.
    EXPECT_FALSE(std::isnan(vec3(1, 1, 1).angle(-1, -1, -1)));
    EXPECT_NEAR(vec3(1, 1, 1).angle(-1, -1, -1), 180.0, 1e-5);
}

TEST(Vec3, RightAngleCarriesTheRoundedDegreeFactor)
{
    // 57.29578 rather than 180/pi: every heading in the game carries this tiny excess.
    EXPECT_DOUBLE_EQ(vec3(1, 0, 0).angle(0, 0, 1), 90.0000007648485);
    EXPECT_DOUBLE_EQ(vec3(0, 0, 1).angle(1, 0, 0), 90.0000007648485);
}

TEST(Vec3, AngleWithZeroVectorIsZero)
{
    EXPECT_EQ(vec3(0, 0, 0).angle(1, 0, 0), 0.0);
    EXPECT_EQ(vec3(1, 2, 3).angle(0, 0, 0), 0.0);
    EXPECT_EQ(vec3(0, 0, 0).angle(0, 0, 0), 0.0);
}

TEST(Vec3, AngleIsUnsignedAndScaleFree)
{
    EXPECT_DOUBLE_EQ(vec3(0, 0, 5).angle(1, 0, 0), vec3(0, 0, -5).angle(1, 0, 0));
    EXPECT_NEAR(vec3(3, 0, 0).angle(1, 1, 0), 45.0, 1e-5);
}

TEST(Vec3, NormalizeGivesUnitLengthAndLeavesZeroAlone)
{
    vec3 zero(0, 0, 0);
    zero.normalize();
    EXPECT_EQ(zero.x, 0.0);
    EXPECT_EQ(zero.y, 0.0);
    EXPECT_EQ(zero.z, 0.0);
    EXPECT_FALSE(std::isnan(zero.x));

    vec3 v(3, 0, -4);
    v.normalize();
    expectVec(v, 0.6, 0, -0.8);
    EXPECT_NEAR(v.length(), 1.0, 1e-15);
}

TEST(Vec3, LengthIsEuclidean)
{
    EXPECT_DOUBLE_EQ(vec3(2, 3, 6).length(), 7.0);
    EXPECT_DOUBLE_EQ(vec3(-2, -3, -6).length(), 7.0);
}

TEST(Vec3, AddReturnsTheSumAndLeavesTheReceiver)
{
    const vec3 a(1, 2, 3);
    const vec3 sum = a.add(10, 20, 30);
    expectVec(sum, 11, 22, 33, 0);
    expectVec(a, 1, 2, 3, 0);
    const vec3 sum2 = a.add(vec3(-1, -2, -3));
    expectVec(sum2, 0, 0, 0, 0);
    expectVec(a, 1, 2, 3, 0);
}

TEST(Vec3, ScaleAndSetChangeTheReceiver)
{
    vec3 v(1, -2, 3);
    v.scale(-2);
    expectVec(v, -2, 4, -6, 0);
    v.set(7, 8, 9);
    expectVec(v, 7, 8, 9, 0);
    v.set(vec3(-1, 0, 1));
    expectVec(v, -1, 0, 1, 0);
}

TEST(Vec3, NormalIsTheRightHandedCrossProduct)
{
    const vec3 x(1, 0, 0);
    expectVec(x.normal(0, 1, 0), 0, 0, 1, 0);
    expectVec(vec3(0, 1, 0).normal(x), 0, 0, -1, 0);
    // Not normalised, and the receiver stays.
    expectVec(vec3(2, 0, 0).normal(vec3(0, 3, 0)), 0, 0, 6, 0);
    expectVec(vec3(1, 2, 3).normal(4, 5, 6), -3, 6, -3, 0);
    expectVec(x, 1, 0, 0, 0);
}

TEST(Vec3, WholeTurnsLeaveTheVectorUnchanged)
{
    vec3 a(0.3, -0.7, 2.5);
    a.rotateY(360);
    expectVec(a, 0.3, -0.7, 2.5, 0);
    vec3 b(0.3, -0.7, 2.5);
    b.rotateY(720);
    expectVec(b, 0.3, -0.7, 2.5, 0);
}

TEST(Vec3, AnglesAreReducedKeepingTheirSign)
{
    vec3 a(1, 0, -1);
    vec3 b(1, 0, -1);
    a.rotateY(-370);
    b.rotateY(-10);
    EXPECT_DOUBLE_EQ(a.x, b.x);
    EXPECT_DOUBLE_EQ(a.z, b.z);
    vec3 c(1, 0, -1);
    vec3 d(1, 0, -1);
    c.rotateY(370);
    d.rotateY(10);
    EXPECT_DOUBLE_EQ(c.x, d.x);
    EXPECT_DOUBLE_EQ(c.z, d.z);
    EXPECT_NE(a.x, c.x);
}

TEST(Vec3, PositiveTurnAboutYGoesLeftOfForward)
{
    vec3 forward(0, 0, -1);
    forward.rotateY(90);
    EXPECT_NEAR(forward.x, -1.0, 1e-12);
    EXPECT_EQ(forward.y, 0.0);
    // The rounded degree factor leaves a trace of the old direction.
    EXPECT_NEAR(forward.z, -1.3e-8, 0.05e-8);
    EXPECT_LT(forward.z, 0.0);
}

TEST(Vec3, RotationsKeepTheirAxisComponent)
{
    vec3 a(1, 2, 3);
    a.rotateX(90);
    EXPECT_EQ(a.x, 1.0);
    EXPECT_NEAR(a.y, -3.0, 1e-6);
    EXPECT_NEAR(a.z, 2.0, 1e-6);

    vec3 b(1, 2, 3);
    b.rotateZ(90);
    EXPECT_EQ(b.z, 3.0);
    EXPECT_NEAR(b.x, -2.0, 1e-6);
    EXPECT_NEAR(b.y, 1.0, 1e-6);

    vec3 c(1, 2, 3);
    c.rotateY(90);
    EXPECT_EQ(c.y, 2.0);
    EXPECT_NEAR(c.x, 3.0, 1e-6);
    EXPECT_NEAR(c.z, -1.0, 1e-6);
    EXPECT_NEAR(c.length(), vec3(1, 2, 3).length(), 1e-12);
}
