// Alt+F4: the close request under Windows rules, texture filtering elsewhere.
#include "game_fixture.h"

TEST(QuitChord, AltF4QuitsUnderWindowsRulesWithEitherAltKey)
{
    EXPECT_TRUE(isQuitChord(SDLK_F4, KMOD_LALT, true));
    EXPECT_TRUE(isQuitChord(SDLK_F4, KMOD_RALT, true));
    // Other modifiers held as well do not stop it, as on Windows itself.
    EXPECT_TRUE(isQuitChord(SDLK_F4, static_cast<SDLMod>(KMOD_LALT | KMOD_LSHIFT | KMOD_NUM), true));
}

TEST(QuitChord, OnlyF4WithAltIsTheChord)
{
    EXPECT_FALSE(isQuitChord(SDLK_F4, KMOD_NONE, true));
    EXPECT_FALSE(isQuitChord(SDLK_F4, static_cast<SDLMod>(KMOD_LCTRL | KMOD_LSHIFT), true));
    for (SDLKey key : {SDLK_F3, SDLK_F5, SDLK_ESCAPE, SDLK_f, SDLK_4})
        EXPECT_FALSE(isQuitChord(key, KMOD_LALT, true)) << key;
}

TEST(QuitChord, NoChordOutsideWindowsRules)
{
    EXPECT_FALSE(isQuitChord(SDLK_F4, KMOD_LALT, false));
    EXPECT_FALSE(isQuitChord(SDLK_F4, KMOD_RALT, false));
}

class QuitChordDispatchTest : public GameTest {
protected:
    bool running = true;
    EventContext context{&running, nullptr};

    void pressWith(SDLKey key, SDLMod mod)
    {
        SDL_Event event = keyEvent(SDL_KEYDOWN, key);
        event.key.keysym.mod = mod;
        dispatchEvent(event, context);
    }
};

TEST_F(QuitChordDispatchTest, AltF4InThisBuild)
{
    const bool filteringBefore = set_filtering;
    pressWith(SDLK_F4, KMOD_LALT);
    if (quitChordWindowsRules) {
        // Windows: the window closes and the filtering stays as it was, with no message.
        EXPECT_FALSE(running);
        EXPECT_EQ(set_filtering, filteringBefore);
        EXPECT_EQ(text(gui.text3), "");
    } else {
        // Elsewhere the window manager closes the window; the key itself is just F4.
        EXPECT_TRUE(running);
        EXPECT_NE(set_filtering, filteringBefore);
        EXPECT_EQ(text(gui.text3), "texture filtering off");
    }
}

TEST_F(QuitChordDispatchTest, F4WithoutAltStillTogglesFilteringAndKeepsRunning)
{
    const bool filteringBefore = set_filtering;
    pressWith(SDLK_F4, KMOD_LCTRL);
    EXPECT_TRUE(running);
    EXPECT_NE(set_filtering, filteringBefore);
    pressWith(SDLK_F4, KMOD_NONE);
    EXPECT_TRUE(running);
    EXPECT_EQ(set_filtering, filteringBefore);
}
