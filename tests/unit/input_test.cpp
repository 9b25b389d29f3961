// Event dispatch: held keys, mouse motion and wheel, the settings keys, the attack bindings, quitting.
#include "game_fixture.h"

#include <cmath>

using InputTest = EventTest;

TEST_F(InputTest, MovementKeysAreHeldFromDownToUp)
{
    const struct {
        SDLKey key;
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

TEST_F(InputTest, GodModeKeyFlipsBackAndForth)
{
    press(SDLK_F1, context);
    EXPECT_TRUE(set_god);
    EXPECT_EQ(text(gui.text3), "godmode on");
    EXPECT_EQ(gui.text3Timer, 10.0);
    press(SDLK_F1, context);
    EXPECT_FALSE(set_god);
    EXPECT_EQ(text(gui.text3), "godmode off");
}

TEST_F(InputTest, EachSettingsKeyAnnouncesItsNewState)
{
    const struct {
        SDLKey key;
        bool* setting;
        const char* first;
        const char* second;
    } toggles[] = {
        {SDLK_F2, &set_fpscounter, "fps counter off", "fps counter on"},
        {SDLK_F3, &set_wireframe, "wireframe on", "wireframe off"},
        {SDLK_F4, &set_filtering, "texture filtering off", "texture filtering on"},
        {SDLK_F5, &set_mipmap, "mipmaps off", "mipmaps on"},
        {SDLK_F6, &set_aniso, "AF off", "AF on"},
        {SDLK_F7, &set_shading, "shading off", "shading on"},
        {SDLK_F8, &set_culling, "culling off", "culling on"},
        {SDLK_F9, &set_alpha, "alpha off", "alpha on"},
    };
    for (const auto& t : toggles) {
        const bool before = *t.setting;
        gui.setText3("", 0.5, 0.5, 0.5);
        press(t.key, context);
        EXPECT_EQ(*t.setting, !before) << t.first;
        EXPECT_EQ(text(gui.text3), t.first);
        EXPECT_EQ(gui.text3.red, 1.0); // white
        EXPECT_EQ(gui.text3.green, 1.0);
        EXPECT_EQ(gui.text3.blue, 1.0);
        press(t.key, context);
        EXPECT_EQ(*t.setting, before);
        EXPECT_EQ(text(gui.text3), t.second);
    }
    EXPECT_FALSE(set_god); // each key flips only its own setting
}

TEST_F(InputTest, TogglesActOnKeyDownOnly)
{
    press(SDLK_F3, context);
    ASSERT_TRUE(set_wireframe);
    gui.setText3("kept", 1, 1, 1);
    release(SDLK_F3, context);
    EXPECT_TRUE(set_wireframe);
    EXPECT_EQ(text(gui.text3), "kept");
}

TEST_F(InputTest, WheelScalesTheCameraDistanceWithoutBounds)
{
    for (int i = 0; i < 10; ++i) {
        dispatchEvent(buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP), context);
        dispatchEvent(buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELUP), context);
    }
    EXPECT_NEAR(player.camDist, 29.07, 0.005);
    EXPECT_DOUBLE_EQ(player.camDist, 180.0 / std::pow(1.2, 10));
    click(SDL_BUTTON_WHEELDOWN, context);
    EXPECT_NEAR(player.camDist, 180.0 / std::pow(1.2, 9), 1e-9);
}

TEST_F(InputTest, WheelNeverLosesTheViewForGood)
{
    // Today's arithmetic, notch by notch, until the distance would leave the finite, normal
    // doubles: some 3,900 notches either way. Past that a notch is not taken, and as many notches
    // back as were taken bring the camera back to where it started.
    const struct {
        Uint8 away, back;
    } ways[] = {{SDL_BUTTON_WHEELDOWN, SDL_BUTTON_WHEELUP}, {SDL_BUTTON_WHEELUP, SDL_BUTTON_WHEELDOWN}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.away == SDL_BUTTON_WHEELUP ? "nearer" : "farther");
        player.camDist = 180.0;
        double expected = 180.0;
        int taken = 0;
        for (int i = 0; i < 5000; ++i) {
            click(way.away, context);
            const double next = way.away == SDL_BUTTON_WHEELUP ? expected / 1.2 : expected * 1.2;
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
            click(way.back, context);
        EXPECT_NEAR(player.camDist, 180.0, 1e-6);
    }
}

TEST_F(InputTest, WheelStillWorksAfterDeath)
{
    player.hp = 0;
    frameAt(100);
    ASSERT_EQ(player.state, STATE_DEAD);
    click(SDL_BUTTON_WHEELDOWN, context);
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
    SDL_Event active;
    std::memset(&active, 0, sizeof active);
    active.type = SDL_ACTIVEEVENT;
    dispatchEvent(active, context);
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
