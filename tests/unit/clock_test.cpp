// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Frame timing: the per-frame time scale, the FPS counter and the running seconds.
#include "game_fixture.h"

using ClockTest = GameTest;

TEST_F(ClockTest, FirstFrameCountsTheWholeStartUp)
{
    ScriptedClock::set(650);
    advanceClock();
    EXPECT_EQ(game_time, 650u);
    EXPECT_EQ(game_time_delta, 650u);
    EXPECT_EQ(game_time_last, 650u);
    EXPECT_DOUBLE_EQ(frameNormalizer, 6.5);
}

TEST_F(ClockTest, FrameLengthIsInUnitsOfHundredMilliseconds)
{
    ScriptedClock::set(1000);
    advanceClock();
    ScriptedClock::set(1016);
    advanceClock();
    EXPECT_EQ(game_time_delta, 16u);
    EXPECT_DOUBLE_EQ(frameNormalizer, 0.16);
    // No clamp either way: a stall of five seconds is 50.
    ScriptedClock::set(6016);
    advanceClock();
    EXPECT_DOUBLE_EQ(frameNormalizer, 50.0);
}

TEST_F(ClockTest, TwoFramesInTheSameMillisecondStandStill)
{
    ScriptedClock::set(4321);
    advanceClock();
    advanceClock();
    EXPECT_EQ(game_time_delta, 0u);
    EXPECT_EQ(frameNormalizer, 0.0);
}

TEST_F(ClockTest, DeltaSurvivesTheWrapOfTheMillisecondCounter)
{
    game_time_last = 0xFFFFFF00u;
    ScriptedClock::set(0x40);
    advanceClock();
    EXPECT_EQ(game_time_delta, 0x140u);
    EXPECT_DOUBLE_EQ(frameNormalizer, 3.2);
}

TEST_F(ClockTest, FpsIsTheRateSinceThePreviousCall)
{
    FrameCounter counter;
    for (int i = 0; i < 30; ++i)
        counter.addFrame();
    ScriptedClock::set(500);
    EXPECT_EQ(counter.getFPS(), "FPS: 60 ");
    EXPECT_EQ(counter.lastFrameCount, 30);
    EXPECT_EQ(counter.lastTime, 500u);
    // The next value measures only the frames since then.
    for (int i = 0; i < 10; ++i)
        counter.addFrame();
    ScriptedClock::set(1000);
    EXPECT_EQ(counter.getFPS(), "FPS: 20 ");
}

TEST_F(ClockTest, FpsDropsTheFraction)
{
    FrameCounter counter;
    for (int i = 0; i < 5997; ++i)
        counter.addFrame();
    ScriptedClock::set(100000); // 59.97 frames per second
    EXPECT_EQ(counter.getFPS(), "FPS: 59 ");
    EXPECT_NEAR(counter.fpsValue, 59.97, 1e-9);
}

TEST_F(ClockTest, TwoRateReadingsInOneMillisecondShowInfinityOnce)
{
    FrameCounter counter;
    counter.addFrame();
    ScriptedClock::set(1000);
    EXPECT_EQ(counter.getFPS(), "FPS: 1 ");
    counter.addFrame();
    EXPECT_EQ(counter.getFPS(), "FPS: inf ");
    counter.addFrame();
    counter.addFrame();
    ScriptedClock::set(1100);
    EXPECT_EQ(counter.getFPS(), "FPS: 20 ");
}

TEST_F(ClockTest, RunningSecondsAreTruncated)
{
    ScriptedClock::set(999);
    EXPECT_EQ(elapsedTime(), "0");
    ScriptedClock::set(1000);
    EXPECT_EQ(elapsedTime(), "1");
    ScriptedClock::set(83950);
    EXPECT_EQ(elapsedTime(), "83");
}

TEST_F(ClockTest, FpsLineIsRefreshedEveryHalfSecondAndBlankWhenSwitchedOff)
{
    // 30 frames up to 500 ms: the first refresh shows their rate.
    for (Ticks t = 1; t <= 30; ++t)
        frameAt(t == 30 ? 500 : t * 16);
    EXPECT_EQ(text(gui.text1), "FPS: 60 ");
    EXPECT_EQ(gui.text1.blue, 0.0); // yellow
    EXPECT_EQ(gui.text1.red, 1.0);
    EXPECT_EQ(game_time500, 500u);
    set_fpscounter = false;
    frameAt(999);
    EXPECT_EQ(text(gui.text1), "FPS: 60 ");
    frameAt(1000);
    EXPECT_EQ(text(gui.text1), " ");
}

TEST_F(ClockTest, RefreshCatchesUpOnePeriodPerFrameAfterAStall)
{
    frameAt(1600);
    EXPECT_EQ(game_time500, 500u);
    frameAt(1600);
    EXPECT_EQ(game_time500, 1000u);
    frameAt(1600);
    EXPECT_EQ(game_time500, 1500u);
    frameAt(1600);
    EXPECT_EQ(game_time500, 1500u);
}
