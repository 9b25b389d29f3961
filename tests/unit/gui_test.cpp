// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The HUD's message line: shown for one second of game time after each toggle.
#include "game_fixture.h"

using GuiTest = GameTest;

// The HUD as a player's keys reach it, through the event step, from a frame at one second on.
class GuiKeysTest : public EventTest {
protected:
    void SetUp() override
    {
        EventTest::SetUp();
        frameAt(1000);
    }
};

TEST_F(GuiTest, EmptyAtStartAndTheFirstUpdateKeepsItEmpty)
{
    EXPECT_EQ(text(gui.text3), "");
    EXPECT_EQ(gui.text3Timer, 0.0);
    frameNormalizer = 0.16;
    gui.update();
    EXPECT_EQ(text(gui.text3), "");
    EXPECT_EQ(gui.text3Timer, 0.0); // not counted below zero while idle
}

TEST_F(GuiTest, MessageStaysForTenUnitsOfFrameTime)
{
    gui.setText3("wireframe on", 0.25, 0.5, 0.75);
    frameNormalizer = 1.0;
    for (int i = 0; i < 9; ++i)
        gui.update();
    EXPECT_EQ(text(gui.text3), "wireframe on");
    EXPECT_DOUBLE_EQ(gui.text3Timer, 1.0);
    gui.update();
    EXPECT_EQ(text(gui.text3), "");
    // The colour stays for the next message line and the seconds counter.
    EXPECT_EQ(gui.text3.red, 0.25);
    EXPECT_EQ(gui.text3.blue, 0.75);
}

TEST_F(GuiTest, ANewMessageStartsTheFullTimeAgain)
{
    frameNormalizer = 1.0;
    gui.setText3("godmode on", 1, 1, 1);
    for (int i = 0; i < 8; ++i)
        gui.update();
    gui.setText3("godmode off", 1, 1, 1);
    for (int i = 0; i < 9; ++i)
        gui.update();
    EXPECT_EQ(text(gui.text3), "godmode off");
    gui.update();
    EXPECT_EQ(text(gui.text3), "");
}


TEST_F(GuiTest, SetTextReplacesTheTextAndColour)
{
    gui.setText1("a much longer line", 0, 0, 0);
    gui.setText1("short", 1.0, 1.0, 0.0);
    EXPECT_EQ(text(gui.text1), "short");
    EXPECT_EQ(gui.text1.green, 1.0);
    EXPECT_EQ(gui.text1.blue, 0.0);
    EXPECT_EQ(gui.text3Timer, 0.0); // only the message line is timed
    gui.setText2("100%", 1, 1, 1);
    EXPECT_EQ(text(gui.text2), "100%");
}

TEST_F(GuiKeysTest, ToggleMessageLastsOneSecondOfFrames)
{
    press(SDLK_F9, context);
    for (Ticks t = 1016; t < 2000; t += 16)
        frameAt(t);
    EXPECT_EQ(text(gui.text3), "alpha off");
    frameAt(2000);
    EXPECT_EQ(text(gui.text3), "");
}

// A frame's time is what passed before its keys were read. After a frame of a second or more (a
// software renderer under load, a machine waking), the message of a key read in the next frame is
// drawn in that frame and gone in the one after; a message already drawn goes at once.
TEST_F(GuiKeysTest, AMessageAfterASlowFrameIsDrawnOnceThenGone)
{
    for (const Ticks slow : {1000u, 5000u}) {
        ScriptedClock::set(ScriptedClock::now() + slow);
        beginFrame();
        press(SDLK_F3, context);
        release(SDLK_F3, context);
        updateFrame();
        EXPECT_EQ(text(gui.text3), set_wireframe ? "wireframe on" : "wireframe off")
            << "read after a frame of " << slow << " ms: not drawn in the frame of its key";
        frameAt(ScriptedClock::now() + 16);
        EXPECT_EQ(text(gui.text3), "") << "after a frame of " << slow << " ms";
    }
    // Drawn once already, a message is taken by the next long frame.
    press(SDLK_F9, context);
    frameAt(ScriptedClock::now() + 16);
    EXPECT_EQ(text(gui.text3), "alpha off");
    frameAt(ScriptedClock::now() + 1000);
    EXPECT_EQ(text(gui.text3), "");
}
