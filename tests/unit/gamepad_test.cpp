// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Game controllers played through the keyboard's and the mouse's inputs, fed by SDL's virtual
// controllers: the walking keys and their dead zone, sharing a key with the keyboard, the turning
// speed at two frame rates, one attack per press, the wheel, and controllers plugged and pulled.
#include "game_fixture.h"

#include "platform/gamepad.h"

#include <cmath>
#include <vector>

namespace {

constexpr Sint16 FULL = 32767;

Sint16 share(double travel) { return static_cast<Sint16>(std::lround(travel * FULL)); }

// A trigger's travel as its joystick reports it: from -32768 let go to 32767 pulled all the way.
Sint16 pulled(double travel) { return static_cast<Sint16>(std::lround(travel * 65535 - 32768)); }

// One virtual controller, plugged in on construction.
struct VirtualPad {
    SDL_Joystick* joystick = nullptr;
    SDL_JoystickID id = -1;

    VirtualPad()
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "virtual pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        joystick = SDL_JoystickOpen(index);
        id = SDL_JoystickInstanceID(joystick);
    }
    ~VirtualPad() { unplug(); }

    void axis(SDL_GameControllerAxis which, Sint16 value) { SDL_JoystickSetVirtualAxis(joystick, which, value); }
    void button(SDL_GameControllerButton which, bool down) { SDL_JoystickSetVirtualButton(joystick, which, down); }
    void unplug()
    {
        if (!joystick)
            return;
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
    }
};

int stuns()
{
    int n = 0;
    for (Effect* effect : effectList)
        n += dynamic_cast<Stun*>(effect) != nullptr;
    return n;
}

double turnedDegrees()
{
    return std::acos(std::clamp(-player.dir.z / std::hypot(player.dir.x, player.dir.z), -1.0, 1.0)) * 57.29578;
}

} // namespace

class GamepadTest : public EventTest {
protected:
    Ticks now = 1000;

    void SetUp() override
    {
        EventTest::SetUp();
        startGamepads();
        closeGamepads();
        frame(); // the first frame waits for the start-up: a long one
    }
    void TearDown() override
    {
        closeGamepads();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        EventTest::TearDown();
    }

    // One frame of the loop, `ms` after the last: clock, events and controllers, update.
    void frame(Ticks ms = 20)
    {
        now += ms;
        ScriptedClock::set(now);
        beginFrame();
        pollEvents(context);
        updateFrame();
    }

    bool walking() const { return input.keyW || input.keyA || input.keyS || input.keyD; }
};

TEST_F(GamepadTest, TheLeftStickHoldsEachWalkingKeyPastAQuarterOfItsTravel)
{
    VirtualPad pad;
    frame();
    ASSERT_EQ(gamepadCount(), 1);
    struct Direction {
        SDL_GameControllerAxis axis;
        double sign;
        bool Input::*key;
    };
    for (const Direction& d : {Direction{SDL_CONTROLLER_AXIS_LEFTY, -1, &Input::keyW},
                               Direction{SDL_CONTROLLER_AXIS_LEFTY, 1, &Input::keyS},
                               Direction{SDL_CONTROLLER_AXIS_LEFTX, -1, &Input::keyA},
                               Direction{SDL_CONTROLLER_AXIS_LEFTX, 1, &Input::keyD}}) {
        pad.axis(d.axis, share(0.2 * d.sign));
        frame();
        EXPECT_FALSE(walking()) << "inside the dead zone, axis " << d.axis << " sign " << d.sign;
        pad.axis(d.axis, share(0.3 * d.sign));
        frame();
        EXPECT_TRUE(input.*d.key) << "axis " << d.axis << " sign " << d.sign;
        pad.axis(d.axis, share(d.sign));
        frame();
        frame();
        EXPECT_TRUE(input.*d.key);
        EXPECT_EQ(input.keyW + input.keyA + input.keyS + input.keyD, 1) << "one key for one direction";
        pad.axis(d.axis, 0);
        frame();
        EXPECT_FALSE(walking()) << "the stick back, axis " << d.axis << " sign " << d.sign;
    }
    // Forward and left together, as W and A held.
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, share(-0.7));
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, share(-0.7));
    frame();
    EXPECT_TRUE(input.keyW && input.keyA && !input.keyS && !input.keyD);
}

TEST_F(GamepadTest, AWalkingKeyIsHeldUntilBothTheKeyboardAndTheStickLetGo)
{
    VirtualPad pad;
    frame();
    // W held on the keyboard, the stick pushed forward and back: the player walks on.
    press(SDLK_w, context);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -FULL);
    frame();
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    frame();
    EXPECT_TRUE(input.keyW) << "the stick's return let go of a key the keyboard holds";
    release(SDLK_w, context);
    EXPECT_FALSE(input.keyW);

    // The stick forward, W pressed and let go on the keyboard meanwhile: still walking.
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -FULL);
    frame();
    press(SDLK_w, context);
    release(SDLK_w, context);
    EXPECT_TRUE(input.keyW) << "the keyboard let go of a key the stick holds";
    const double z = player.pos.z;
    frame(100);
    EXPECT_LT(player.pos.z, z - 1.0);

    // Pulled out while it holds W: the walk stops, the game goes on; D held on the keyboard stays.
    press(SDLK_d, context);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, FULL);
    frame();
    pad.unplug();
    frame();
    EXPECT_EQ(gamepadCount(), 0);
    EXPECT_FALSE(input.keyW);
    EXPECT_TRUE(input.keyD);
    EXPECT_TRUE(running);
}

TEST_F(GamepadTest, FullDeflectionTurnsHalfATurnASecondAtFastAndSlowFrames)
{
    for (Ticks ms : {Ticks{17}, Ticks{330}}) {
        resetWorld();
        VirtualPad pad;
        frame();
        pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, FULL);
        const int frames = 990 / ms;
        for (int i = 0; i < frames; ++i)
            frame(ms);
        pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 0);
        frame();
        // 180 degrees a second over the frames' time, to within one unit of motion (0.15 degrees).
        const double expected = 180.0 * frames * ms / 1000.0;
        EXPECT_NEAR(turnedDegrees(), expected, 0.16) << ms << " ms frames";
        EXPECT_GT(player.dir.x, 0) << "the stick to the right turns right";
        frame(500);
        EXPECT_NEAR(turnedDegrees(), expected, 0.16) << "the stick back at the centre, " << ms << " ms frames";
    }

    // Inside its dead zone the stick turns nothing, however long; pulled down it raises the camera
    // as the mouse moved down does, 1200 units a second, 0.3 of the distance.
    resetWorld();
    VirtualPad pad;
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, share(0.19));
    frame();
    for (int i = 0; i < 20; ++i)
        frame(100);
    EXPECT_EQ(player.dir.x, 0.0);
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 0);
    frame();
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, FULL);
    const double height = player.camHeight;
    for (int i = 0; i < 10; ++i)
        frame(100);
    EXPECT_NEAR(player.camHeight - height, 0.3, 0.001);
}

TEST_F(GamepadTest, TriggersAndFaceButtonsAttackOncePerPressAndTheShouldersTurnTheWheel)
{
    Enemy* enemy = new Enemy(0, 0, -6);
    // Plugged in with its triggers at half their travel (as some report them until first touched),
    // it attacks only once they have been let go.
    VirtualPad pad;
    pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, pulled(0.5));
    pad.axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, pulled(0.5));
    frame();
    frame();
    EXPECT_EQ(stuns(), 0);
    EXPECT_DOUBLE_EQ(enemy->hp, 100.0);
    pad.axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, pulled(0));
    // The right trigger stuns, once past half its travel, and again only after it came back under a quarter.
    const std::vector<std::pair<double, int>> pulls = {{0.4, 0}, {0.6, 1}, {1.0, 1}, {0.3, 1}, {0.6, 1}, {0.2, 1}, {0.55, 2}};
    for (const auto& [travel, expected] : pulls) {
        pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, pulled(travel));
        frame();
        frame();
        EXPECT_EQ(stuns(), expected) << "right trigger at " << travel;
    }
    pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, pulled(0));
    // The left trigger hits for 25, once a pull, however long it is held.
    pad.axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, pulled(1));
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_DOUBLE_EQ(enemy->hp, 75.0);
    pad.axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, pulled(0));
    // A stuns and B hits, once a press.
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    pad.button(SDL_CONTROLLER_BUTTON_B, true);
    frame();
    frame();
    EXPECT_EQ(stuns(), 3);
    EXPECT_DOUBLE_EQ(enemy->hp, 50.0);
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    pad.button(SDL_CONTROLLER_BUTTON_B, false);
    frame();
    // The right shoulder brings the camera in a notch, the left one takes it out; Start and Back quit nothing.
    pad.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    frame();
    EXPECT_DOUBLE_EQ(player.camDist, 150.0);
    pad.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false);
    pad.button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    pad.button(SDL_CONTROLLER_BUTTON_START, true);
    pad.button(SDL_CONTROLLER_BUTTON_BACK, true);
    pad.button(SDL_CONTROLLER_BUTTON_GUIDE, true);
    frame();
    frame();
    EXPECT_DOUBLE_EQ(player.camDist, 180.0);
    EXPECT_TRUE(running);
    EXPECT_EQ(stuns(), 3);
    EXPECT_DOUBLE_EQ(enemy->hp, 50.0);
}

TEST_F(GamepadTest, ASecondControllerPlaysAndOutlastsTheFirst)
{
    VirtualPad first;
    VirtualPad second;
    frame();
    ASSERT_EQ(gamepadCount(), 2);
    first.axis(SDL_CONTROLLER_AXIS_LEFTX, FULL);
    second.axis(SDL_CONTROLLER_AXIS_LEFTY, FULL);
    frame();
    EXPECT_TRUE(input.keyD && input.keyS);
    first.unplug();
    frame();
    EXPECT_EQ(gamepadCount(), 1);
    EXPECT_TRUE(!input.keyD && input.keyS) << "only the unplugged controller's key is let go";
    second.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    frame();
    EXPECT_DOUBLE_EQ(player.camDist, 150.0);
    // Plugged in again during play, it plays again.
    VirtualPad again;
    again.axis(SDL_CONTROLLER_AXIS_LEFTY, -FULL);
    second.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    frame();
    EXPECT_EQ(gamepadCount(), 2);
    EXPECT_TRUE(input.keyW && !input.keyS);
    EXPECT_TRUE(running);
}
