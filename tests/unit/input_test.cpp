// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Event dispatch: held keys, mouse motion and wheel, the settings keys, the attack bindings, quitting.
#include "game_fixture.h"

#include "game/controls.h"

#include <cmath>
#include <iterator>

using InputTest = EventTest;

TEST_F(InputTest, MovementKeysAreHeldFromDownToUp)
{
    const struct {
        SDL_Keycode key;
        bool Input::*flag;
    } keys[] = {
        {SDLK_w, &Input::keyW},       {SDLK_a, &Input::keyA},       {SDLK_s, &Input::keyS},
        {SDLK_d, &Input::keyD},       {SDLK_UP, &Input::keyUp},     {SDLK_DOWN, &Input::keyDown},
        {SDLK_LEFT, &Input::keyLeft}, {SDLK_RIGHT, &Input::keyRight},
    };
    for (const auto& k : keys) {
        press(k.key, context);
        EXPECT_TRUE(input.*k.flag) << k.key;
        release(k.key, context);
        EXPECT_FALSE(input.*k.flag) << k.key;
    }
    EXPECT_TRUE(running);
}

TEST_F(InputTest, KeyTappedWithinOneFrameDoesNotMoveThePlayer)
{
    frameAt(100);
    press(SDLK_w, context);
    release(SDLK_w, context);
    frameAt(200);
    EXPECT_FALSE(input.keyW);
    EXPECT_EQ(player.pos.x, 0.0);
    EXPECT_EQ(player.pos.z, 0.0);
    // Held across the frame, the same key does move it.
    press(SDLK_w, context);
    frameAt(300);
    EXPECT_DOUBLE_EQ(player.pos.z, -1.5);
}

TEST_F(InputTest, FunctionKeysReachTheirSettingsOnKeyDown)
{
    // What each settings key does is the controls' (controls_test.cpp); here, that the key that
    // SDL names as the list does (F1 to F9, M) arrives as that list's key.
    for (const SettingsKey& key : SETTINGS_KEYS) {
        const SDL_Keycode code = SDL_GetKeyFromName(key.name);
        ASSERT_NE(code, SDLK_UNKNOWN) << key.name;
        const bool before = *key.setting;
        press(code, context);
        EXPECT_EQ(*key.setting, !before) << key.name;
        release(code, context);
        EXPECT_EQ(*key.setting, !before) << key.name;
    }
}

TEST_F(InputTest, WheelScalesTheCameraDistanceWithoutBounds)
{
    for (int i = 0; i < 10; ++i)
        dispatchEvent(wheelEvent(1), context);
    EXPECT_NEAR(player.camDist, 29.07, 0.005);
    EXPECT_DOUBLE_EQ(player.camDist, 180.0 / std::pow(1.2, 10));
    dispatchEvent(wheelEvent(-1), context);
    EXPECT_NEAR(player.camDist, 180.0 / std::pow(1.2, 9), 1e-9);
}

TEST_F(InputTest, EveryWholeNotchOfOneWheelEventIsOnePress)
{
    // Three notches in one event act as three presses of the wheel-up button, two down as two.
    dispatchEvent(wheelEvent(3), context);
    EXPECT_DOUBLE_EQ(player.camDist, 180.0 / 1.2 / 1.2 / 1.2);
    dispatchEvent(wheelEvent(-2), context);
    EXPECT_DOUBLE_EQ(player.camDist, 180.0 / 1.2 / 1.2 / 1.2 * 1.2 * 1.2);
    // Reported the other way round (natural scrolling), the wheel still means what the player turned.
    player.camDist = 180.0;
    dispatchEvent(wheelEvent(1, true), context);
    EXPECT_DOUBLE_EQ(player.camDist, 216.0);
    dispatchEvent(wheelEvent(-1, true), context);
    EXPECT_DOUBLE_EQ(player.camDist, 216.0 / 1.2);
    // A high-resolution wheel's fraction of a notch is no notch yet: SDL carries it over.
    SDL_Event fraction = wheelEvent(0);
    fraction.wheel.preciseY = 0.4f;
    dispatchEvent(fraction, context);
    EXPECT_DOUBLE_EQ(player.camDist, 216.0 / 1.2);
    // The side buttons, which SDL numbers 4 and 5 as the old wheel buttons were, do not zoom.
    click(SDL_BUTTON_X1, context);
    click(SDL_BUTTON_X2, context);
    EXPECT_DOUBLE_EQ(player.camDist, 216.0 / 1.2);
}

TEST_F(InputTest, WheelNeverLosesTheViewForGood)
{
    // Today's arithmetic, notch by notch, until the distance would leave the finite, normal
    // doubles: some 3,900 notches either way. Past that a notch is not taken, and as many notches
    // back as were taken bring the camera back to where it started.
    const struct {
        int away, back; // notches: up (positive) brings the camera nearer
    } ways[] = {{-1, 1}, {1, -1}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.away > 0 ? "nearer" : "farther");
        player.camDist = 180.0;
        double expected = 180.0;
        int taken = 0;
        for (int i = 0; i < 5000; ++i) {
            dispatchEvent(wheelEvent(way.away), context);
            const double next = way.away > 0 ? expected / 1.2 : expected * 1.2;
            if (std::isfinite(next) && std::isnormal(next)) {
                expected = next;
                ++taken;
            }
            ASSERT_EQ(player.camDist, expected) << "notch " << i;
        }
        EXPECT_GT(taken, 3800);
        EXPECT_LT(taken, 4000);
        EXPECT_TRUE(std::isnormal(player.camDist));
        for (int i = 0; i < taken; ++i)
            dispatchEvent(wheelEvent(way.back), context);
        EXPECT_NEAR(player.camDist, 180.0, 1e-6);
    }
}

TEST_F(InputTest, WheelStillWorksAfterDeath)
{
    player.hp = 0;
    frameAt(100);
    ASSERT_EQ(player.state, STATE_DEAD);
    dispatchEvent(wheelEvent(-1), context);
    EXPECT_DOUBLE_EQ(player.camDist, 216.0);
}

TEST_F(InputTest, MouseMotionsAddUpWithTheirSigns)
{
    dispatchEvent(motionEvent(5, -3), context);
    dispatchEvent(motionEvent(-12, 7), context);
    dispatchEvent(motionEvent(32767, -32768), context);
    EXPECT_EQ(input.mouseX, 5 - 12 + 32767);
    EXPECT_EQ(input.mouseY, -3 + 7 - 32768);
}

TEST_F(InputTest, EscapeEndsTheLoop)
{
    press(SDLK_ESCAPE, context);
    EXPECT_FALSE(running);
}

TEST_F(InputTest, CloseRequestEndsTheLoop)
{
    SDL_Event quit;
    std::memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;
    dispatchEvent(quit, context);
    EXPECT_FALSE(running);
}

TEST_F(InputTest, FullScreenKeyWithoutAScreenIsHarmless)
{
    press(SDLK_f, context);
    release(SDLK_f, context);
    EventContext empty; // nor without a running flag
    press(SDLK_f, empty);
    press(SDLK_ESCAPE, empty);
    EXPECT_TRUE(running);
    EXPECT_TRUE(set_fullscreen);
}

TEST_F(InputTest, UnlistedKeysAndEventsChangeNothing)
{
    press(SDLK_q, context);
    press(SDLK_F10, context);
    SDL_Event window;
    std::memset(&window, 0, sizeof window);
    window.type = SDL_WINDOWEVENT;
    window.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    dispatchEvent(window, context);
    EXPECT_TRUE(running);
    EXPECT_EQ(text(gui.text3), "");
    EXPECT_FALSE(input.keyW || input.keyA || input.keyS || input.keyD);
}

namespace {

// Three enemies around the player: 5 and 10 units away (inside the stun burst), 20 (outside both).
void placeThreeEnemies()
{
    new Enemy(5, 0, 0);
    new Enemy(0, 0, 10);
    new Enemy(-20, 0, 0);
}

} // namespace

TEST_F(InputTest, LeftButtonAndKeyOneStunOnPress)
{
    placeThreeEnemies();
    dispatchEvent(buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), context);
    EXPECT_TRUE(input.mouseLeft);
    EXPECT_EQ(effectList.size(), 2u);
    EXPECT_EQ(enemyList[0]->state, STATE_STUNNED);
    EXPECT_EQ(enemyList[1]->state, STATE_STUNNED);
    EXPECT_EQ(enemyList[2]->state, STATE_ACTIVE);
    dispatchEvent(buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT), context);
    EXPECT_FALSE(input.mouseLeft);
    EXPECT_EQ(effectList.size(), 2u); // release fires nothing
    press(SDLK_1, context);
    EXPECT_EQ(effectList.size(), 4u);
    release(SDLK_1, context);
    EXPECT_EQ(effectList.size(), 4u);
    for (Effect* e : effectList)
        EXPECT_NE(dynamic_cast<Stun*>(e), nullptr);
}

TEST_F(InputTest, RightButtonAndKeyTwoHitOnPress)
{
    placeThreeEnemies();
    dispatchEvent(buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT), context);
    EXPECT_TRUE(input.mouseRight);
    EXPECT_EQ(effectList.size(), 1u);
    EXPECT_EQ(enemyList[0]->hp, 75.0);
    dispatchEvent(buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT), context);
    EXPECT_FALSE(input.mouseRight);
    press(SDLK_2, context);
    release(SDLK_2, context);
    EXPECT_EQ(effectList.size(), 2u);
    EXPECT_EQ(enemyList[0]->hp, 50.0);
    EXPECT_EQ(enemyList[1]->hp, 100.0);
    EXPECT_NE(dynamic_cast<Hit*>(effectList[1]), nullptr);
}

TEST_F(InputTest, KeysThreeAndFourFireNothingYet)
{
    placeThreeEnemies();
    press(SDLK_3, context);
    press(SDLK_4, context);
    click(SDL_BUTTON_MIDDLE, context);
    EXPECT_TRUE(effectList.empty());
    EXPECT_EQ(enemyList[0]->state, STATE_ACTIVE);
    EXPECT_EQ(enemyList[0]->hp, 100.0);
}

TEST_F(InputTest, UpAndDownTogetherLeaveTheLightWhereItIs)
{
    frameAt(100);
    press(SDLK_UP, context);
    frameAt(200);
    EXPECT_FLOAT_EQ(light0.lightPos[1], 22.0f);
    press(SDLK_DOWN, context);
    frameAt(300);
    EXPECT_FLOAT_EQ(light0.lightPos[1], 22.0f);
    release(SDLK_UP, context);
    frameAt(350);
    EXPECT_FLOAT_EQ(light0.lightPos[1], 21.0f);
}

TEST_F(InputTest, AHeldKeyIsOnePressWhateverItsRepeats)
{
    placeThreeEnemies();
    press(SDLK_F1, context);
    press(SDLK_1, context);
    const std::size_t stuns = effectList.size();
    gui.setText3("", 1, 1, 1);
    for (int i = 0; i < 5; ++i) {
        dispatchEvent(keyEvent(SDL_KEYDOWN, SDLK_F1, true), context);
        dispatchEvent(keyEvent(SDL_KEYDOWN, SDLK_1, true), context);
        dispatchEvent(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE, true), context);
    }
    EXPECT_TRUE(set_god);
    EXPECT_EQ(text(gui.text3), "");
    EXPECT_EQ(effectList.size(), stuns);
    EXPECT_TRUE(running);
    // A held W stays held through its repeats.
    press(SDLK_w, context);
    dispatchEvent(keyEvent(SDL_KEYDOWN, SDLK_w, true), context);
    EXPECT_TRUE(input.keyW);
}
