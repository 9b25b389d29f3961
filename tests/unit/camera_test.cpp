// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The camera in the frame: placed behind and above the player, looking at it.
#include "world/camera.h"

#include "game_fixture.h"

#include <gtest/gtest.h>

// The two ways to shift the camera that the game keeps for tools: pan swings the eye about a
// fixed target, move slides both, so the view's direction stays.
TEST(Camera, PanSwingsTheEyeMoveSlidesEyeAndTarget)
{
    Camera c(0, 0, 0, 5, 5, 5);
    c.pan(1, 0, 0);
    EXPECT_EQ(c.pos.x, 1.0);
    EXPECT_EQ(c.target.x, 5.0);
    c.move(vec3(0, 0, -3));
    EXPECT_EQ(c.pos.z, -3.0);
    EXPECT_EQ(c.target.z, 2.0);
    EXPECT_EQ(c.up.y, 1.0);
}

using CameraFollowTest = GameTest;

TEST_F(CameraFollowTest, FrameLeavesTheCameraBehindAndAboveThePlayerLookingAtIt)
{
    player.place(12.345678901, 0, -98.7654321);
    player.look(1, 0, 0);
    frameAt(16);
    // The target is the player's position exactly, not approximately.
    EXPECT_EQ(camera.target.x, player.pos.x);
    EXPECT_EQ(camera.target.y, player.pos.y);
    EXPECT_EQ(camera.target.z, player.pos.z);
    const vec3 eye = player.getCamPos();
    EXPECT_EQ(camera.pos.x, eye.x);
    EXPECT_EQ(camera.pos.y, eye.y);
    EXPECT_EQ(camera.pos.z, eye.z);
    EXPECT_LT(camera.pos.x, player.pos.x); // behind a player who faces +x
    // The light hangs over the player at its own height, narrowed to float.
    EXPECT_EQ(light0.lightPos[0], static_cast<float>(player.pos.x));
    EXPECT_EQ(light0.lightPos[1], 20.0f);
    EXPECT_EQ(light0.lightPos[2], static_cast<float>(player.pos.z));
    EXPECT_EQ(light0.lightPos[3], 0.0f);
    EXPECT_EQ(light0.pos.x, 0.0); // the light's own position does not follow
    EXPECT_EQ(camera.up.x, 0.0);
    EXPECT_EQ(camera.up.y, 1.0);
    EXPECT_EQ(camera.up.z, 0.0);
}
