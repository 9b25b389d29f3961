// The event filter that keeps a moving mouse from pushing keys out of SDL's 128-slot queue:
// every motion is summed exactly, every key, button and quit request arrives, in its order.
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
        SDL_SetEventFilter(nullptr);
        EventTest::TearDown();
    }

    static int fold(const SDL_Event& event) { return foldEvent(&event); }
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
    EXPECT_EQ(fold(buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP)), 0);
    for (int i = 0; i < 500; ++i)
        EXPECT_EQ(fold(motionEvent(-1, 32767)), 0);
    EXPECT_EQ(fold(keyEvent(SDL_KEYDOWN, SDLK_F2)), 0);
    EXPECT_EQ(fold(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE)), 0);
    // What the game does not answer to stays with SDL, which may drop it.
    SDL_Event active;
    std::memset(&active, 0, sizeof active);
    active.type = SDL_ACTIVEEVENT;
    EXPECT_EQ(fold(active), 1);

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
