// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The event filter that keeps a moving mouse from pushing keys out of SDL's queue: every motion
// is summed exactly, every key, button, wheel notch and quit request arrives, in its order, and a
// request to quit arrives even past the filter's own bound.
#include "game_fixture.h"

#include <thread>

class EventFoldTest : public EventTest {
protected:
    void SetUp() override
    {
        EventTest::SetUp();
        holdEvents();
        // Nothing held by an earlier test counts here.
        EventContext none;
        dispatchHeldEvents(none);
        resetWorld();
    }
    void TearDown() override
    {
        SDL_SetEventFilter(nullptr, nullptr);
        EventTest::TearDown();
    }

    static int fold(SDL_Event event) { return foldEvent(nullptr, &event); }
};

TEST_F(EventFoldTest, MotionIsSummedAndKeysKeepTheirOrderAcrossABurst)
{
    // W held across a burst of 1000 motions and released inside it, F1 and F2 pressed within it,
    // then Escape: far more events than SDL's queue holds, none of them queued there.
    EXPECT_EQ(fold(keyEvent(SDL_KEYDOWN, SDLK_w)), 0);
    for (int i = 0; i < 500; ++i)
        EXPECT_EQ(fold(motionEvent(3, -2)), 0);
    EXPECT_EQ(fold(keyEvent(SDL_KEYDOWN, SDLK_F1)), 0);
    EXPECT_EQ(fold(keyEvent(SDL_KEYUP, SDLK_F1)), 0);
    EXPECT_EQ(fold(keyEvent(SDL_KEYUP, SDLK_w)), 0);
    EXPECT_EQ(fold(wheelEvent(1)), 0);
    for (int i = 0; i < 500; ++i)
        EXPECT_EQ(fold(motionEvent(-1, 32767)), 0);
    EXPECT_EQ(fold(keyEvent(SDL_KEYDOWN, SDLK_F2)), 0);
    EXPECT_EQ(fold(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE)), 0);
    // What the game does not answer to stays with SDL, which may drop it.
    SDL_Event window;
    std::memset(&window, 0, sizeof window);
    window.type = SDL_WINDOWEVENT;
    window.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    EXPECT_EQ(fold(window), 1);

    // Nothing reaches the game before the frame reads it.
    EXPECT_TRUE(!input.keyW && input.mouseX == 0 && running);
    dispatchHeldEvents(context);
    EXPECT_FALSE(input.keyW); // released after it was pressed
    EXPECT_TRUE(set_god);
    EXPECT_FALSE(set_fpscounter);
    EXPECT_EQ(text(gui.text3), "fps counter off"); // the last toggle's message
    EXPECT_DOUBLE_EQ(player.camDist, 180.0 / 1.2);
    EXPECT_FALSE(running);
    EXPECT_EQ(input.mouseX, 500 * 3 - 500);
    EXPECT_EQ(input.mouseY, 500 * -2 + 500 * 32767);

    // Handed over once: the next frame finds nothing new.
    input.mouseX = input.mouseY = 0;
    set_god = false;
    dispatchHeldEvents(context);
    EXPECT_EQ(input.mouseX, 0);
    EXPECT_EQ(input.mouseY, 0);
    EXPECT_FALSE(set_god);
}

TEST_F(EventFoldTest, RepeatsOfAHeldKeyAreNotHeld)
{
    EXPECT_EQ(fold(keyEvent(SDL_KEYDOWN, SDLK_F1)), 0);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(fold(keyEvent(SDL_KEYDOWN, SDLK_F1, true)), 0);
    EXPECT_EQ(fold(keyEvent(SDL_KEYUP, SDLK_F1)), 0);
    dispatchHeldEvents(context);
    EXPECT_TRUE(set_god); // one press
    EXPECT_EQ(text(gui.text3), "godmode on");
}

TEST_F(EventFoldTest, PastTheBoundOnlyARequestToQuitIsKept)
{
    // A frame that never ends: the list fills up with presses of F1 (an even number of them).
    for (std::size_t i = 0; i < MAX_HELD_EVENTS; ++i)
        fold(keyEvent(SDL_KEYDOWN, SDLK_F1));
    // Past the bound keys are dropped, but Escape still ends the game.
    fold(keyEvent(SDL_KEYDOWN, SDLK_F2));
    fold(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE));
    fold(keyEvent(SDL_KEYDOWN, SDLK_F3));
    dispatchHeldEvents(context);
    EXPECT_FALSE(set_god);
    EXPECT_TRUE(set_fpscounter);
    EXPECT_FALSE(set_wireframe);
    EXPECT_FALSE(running);

    // And so does the window's close request; the next frame finds nothing more.
    running = true;
    for (std::size_t i = 0; i < MAX_HELD_EVENTS; ++i)
        fold(keyEvent(SDL_KEYUP, SDLK_F1));
    SDL_Event quit;
    std::memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;
    fold(quit);
    dispatchHeldEvents(context);
    EXPECT_FALSE(running);
    running = true;
    dispatchHeldEvents(context);
    EXPECT_TRUE(running);
}

TEST_F(EventFoldTest, FoldingOnAnotherThreadWhileTheFrameReadsLosesNothing)
{
    // SDL may run the filter on its event thread while frames hand the events over.
    constexpr int MOTIONS = 200000;
    constexpr int PRESSES = 2001;
    std::thread mouse([]() {
        for (int i = 0; i < MOTIONS; ++i)
            fold(motionEvent(1, -2));
    });
    std::thread keys([]() {
        for (int i = 0; i < PRESSES; ++i) {
            fold(keyEvent(SDL_KEYDOWN, SDLK_F1));
            fold(keyEvent(SDL_KEYUP, SDLK_F1));
        }
    });
    std::int64_t sumX = 0, sumY = 0;
    const auto frame = [&]() {
        dispatchHeldEvents(context);
        sumX += input.mouseX;
        sumY += input.mouseY;
        input.mouseX = input.mouseY = 0;
    };
    for (int i = 0; i < 1000; ++i)
        frame();
    mouse.join();
    keys.join();
    frame();
    EXPECT_EQ(sumX, MOTIONS);
    EXPECT_EQ(sumY, -2 * MOTIONS);
    EXPECT_TRUE(set_god); // an odd number of presses, every one of them seen
}
