// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player's frame: plateau bound, walking, mouse turns, hit points on the HUD, death.
#include "game_fixture.h"

using PlayerTest = GameTest;

namespace {

// The player's part of a frame: its update, then the step that shows its hit points.
void playerStep()
{
    player.update();
    showHitPoints();
}

} // namespace

TEST_F(PlayerTest, HitPointsShowRoundedUp)
{
    player.hp = 0.4;
    EXPECT_EQ(player.getHP(), "1");
    player.hp = 99.01;
    EXPECT_EQ(player.getHP(), "100");
    player.hp = 0;
    EXPECT_EQ(player.getHP(), "0");
    player.hp = 100;
    EXPECT_EQ(player.getHP(), "100");
    player.hp = -0.5; // a hit can go below zero until the next update
    EXPECT_EQ(player.getHP(), "0");
}

TEST_F(PlayerTest, StartsAtTheOriginFacingForward)
{
    EXPECT_EQ(player.hp, 100.0);
    EXPECT_EQ(player.speed, 1.5);
    EXPECT_EQ(player.range, 8.0);
    EXPECT_EQ(player.camDist, 180.0);
    EXPECT_EQ(player.camHeight, 0.2);
    EXPECT_EQ(player.state, STATE_ACTIVE);
    EXPECT_EQ(player.dir.z, -1.0);
}

TEST_F(PlayerTest, CameraStandsBehindAndAbove)
{
    const vec3 eye = player.getCamPos();
    EXPECT_EQ(eye.x, 0.0);
    EXPECT_DOUBLE_EQ(eye.y, 36.0);
    EXPECT_EQ(eye.z, 180.0);
    // The vertical part of the look direction does not tilt the camera position.
    player.place(1, 2, 3);
    player.dir = vec3(1, 5, 0);
    const vec3 tilted = player.getCamPos();
    EXPECT_DOUBLE_EQ(tilted.x, 1 - 180.0);
    EXPECT_DOUBLE_EQ(tilted.y, 2 + 36.0);
    EXPECT_DOUBLE_EQ(tilted.z, 3.0);
}

TEST_F(PlayerTest, ForwardAndLeftTogetherStepDiagonally)
{
    input.keyW = true;
    input.keyA = true;
    frameNormalizer = 0.5;
    player.update();
    const double s = 1.5 * 0.5;
    EXPECT_DOUBLE_EQ(player.pos.x, -s);
    EXPECT_DOUBLE_EQ(player.pos.z, -s);
    EXPECT_EQ(player.pos.y, 0.0);
}

TEST_F(PlayerTest, EachKeyStepsRelativeToTheHeading)
{
    player.dir = vec3(1, 0, 0); // facing +x
    frameNormalizer = 2.0;      // s = 3
    input.keyS = true;
    player.update();
    EXPECT_DOUBLE_EQ(player.pos.x, -3.0);
    input.keyS = false;
    input.keyD = true;
    player.update();
    EXPECT_DOUBLE_EQ(player.pos.z, 3.0); // right of +x is +z
    input.keyD = false;
    input.keyW = true;
    input.keyS = true; // forward and back cancel
    player.update();
    EXPECT_DOUBLE_EQ(player.pos.x, -3.0);
    EXPECT_DOUBLE_EQ(player.pos.z, 3.0);
}

TEST_F(PlayerTest, VerticalLookDoesNotLiftThePlayer)
{
    player.dir = vec3(0, 0.6, -0.8);
    input.keyW = true;
    player.update();
    EXPECT_EQ(player.pos.y, 0.0);
    EXPECT_DOUBLE_EQ(player.pos.z, -0.8 * 1.5);
}

TEST_F(PlayerTest, PlateauBoundComesBeforeTheStep)
{
    player.place(99, 0, -99);
    player.dir = vec3(1, 0, 0);
    input.keyW = true;
    player.update();
    EXPECT_DOUBLE_EQ(player.pos.x, 100.5); // one step beyond the edge
    input.keyW = false;
    player.update();
    EXPECT_EQ(player.pos.x, 99.0);
    EXPECT_EQ(player.pos.z, -99.0);
    player.place(-250, 40, 300);
    player.update();
    EXPECT_EQ(player.pos.x, -99.0);
    EXPECT_EQ(player.pos.z, 99.0);
    EXPECT_EQ(player.pos.y, 40.0); // height is not bounded
}

TEST_F(PlayerTest, MouseTurnsByPixelsNotByFrameTime)
{
    for (double normalizer : {0.0, 0.16, 7.0}) {
        player.dir = vec3(0, 0, -1);
        input.mouseX = 100; // to the right
        frameNormalizer = normalizer;
        player.update();
        EXPECT_EQ(input.mouseX, 0);
        // 15 degrees to the right of forward: heading 15, direction toward +x.
        EXPECT_NEAR(player.azimut(), 15.0, 1e-5) << normalizer;
        EXPECT_GT(player.dir.x, 0.0);
    }
}

TEST_F(PlayerTest, MouseDownRaisesTheCamera)
{
    input.mouseY = 600;
    player.update();
    EXPECT_DOUBLE_EQ(player.camHeight, 0.35);
    EXPECT_EQ(input.mouseY, 0);
    input.mouseY = -1200;
    player.update();
    EXPECT_DOUBLE_EQ(player.camHeight, 0.05);
}

TEST_F(PlayerTest, DeadAtExactlyZero)
{
    player.hp = 0;
    ScriptedClock::set(5000);
    player.update();
    EXPECT_EQ(player.state, STATE_DEAD);
    EXPECT_TRUE(set_endgame);
}

TEST_F(PlayerTest, AliveJustAboveZero)
{
    player.hp = 1e-9;
    playerStep();
    EXPECT_EQ(player.state, STATE_ACTIVE);
    EXPECT_FALSE(set_endgame);
    EXPECT_EQ(text(gui.text2), "1");
}

TEST_F(PlayerTest, DeadPlayerNeitherMovesNorConsumesTheMouse)
{
    player.hp = 0;
    input.keyW = true;
    input.mouseX = 40;
    input.mouseY = -30;
    player.update();
    input.mouseX += 10;
    player.update();
    EXPECT_EQ(player.pos.z, 0.0);
    EXPECT_EQ(player.dir.z, -1.0);
    EXPECT_EQ(player.dir.x, 0.0);
    EXPECT_EQ(player.camHeight, 0.2);
    EXPECT_EQ(input.mouseX, 50);
    EXPECT_EQ(input.mouseY, -30);
}

TEST_F(PlayerTest, StunnedPlayerStandsButShowsItsHitPoints)
{
    player.state = STATE_STUNNED;
    input.keyW = true;
    input.mouseX = 10;
    player.hp = 42.5;
    playerStep();
    EXPECT_EQ(player.pos.z, 0.0);
    EXPECT_EQ(input.mouseX, 10);
    EXPECT_EQ(text(gui.text2), "43");
}

TEST_F(PlayerTest, HitPointsReachTheHudEveryUpdateInWhite)
{
    gui.text2.red = 0.0;
    playerStep();
    EXPECT_EQ(text(gui.text2), "100");
    EXPECT_EQ(gui.text2.red, 1.0);
    EXPECT_EQ(gui.text2.green, 1.0);
    EXPECT_EQ(gui.text2.blue, 1.0);
    player.hp = 57.2;
    playerStep();
    EXPECT_EQ(text(gui.text2), "58");
    player.hp = 0;
    playerStep();
    EXPECT_EQ(text(gui.text2), "0");
    gui.setText2("stale", 1, 1, 1);
    playerStep(); // dead, still written
    EXPECT_EQ(text(gui.text2), "0");
}
