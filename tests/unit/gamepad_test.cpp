// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Game controllers played through the keyboard's and the mouse's inputs, as the game plays them
// (game/gamepad_policy.h), fed the sticks' and triggers' travel: the walking keys and their dead
// zone, sharing a key with the keyboard, the turning speed at two frame rates, one attack per pull
// or press, the wheel. Then SDL's side (platform/gamepad.h) once, with SDL's virtual controllers:
// plugged and pulled, read, its buttons pressed.
#include "game_fixture.h"

#include "game/controls.h"
#include "game/gamepad_policy.h"
#include "math/vec3.h"
#include "platform/gamepad.h"

#include <cmath>
#include <vector>

namespace {

constexpr Sint16 FULL = 32767;

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
    return std::acos(std::clamp(-player.dir.z / std::hypot(player.dir.x, player.dir.z), -1.0, 1.0)) *
           DEGREES_PER_RADIAN;
}

bool walking() { return input.keyW || input.keyA || input.keyS || input.keyD; }

// A key of the keyboard, as the platform hands it over.
void keyboard(InputEvent::Type type, Key key)
{
    InputEvent event;
    event.type = type;
    event.key = key;
    handleInput(shareWithSticks(event));
}

} // namespace

// The controllers as the platform hands them over: one, plugged in before the first frame.
class GamepadTest : public GameTest {
protected:
    Ticks now = 1000;
    std::vector<PadState> pads = std::vector<PadState>(1);
    PadState& pad = pads[0];

    void SetUp() override
    {
        GameTest::SetUp();
        forgetPads();
        frame(); // the first frame waits for the start-up: a long one
    }
    void TearDown() override
    {
        forgetPads();
        GameTest::TearDown();
    }

    // One frame of the loop, `ms` after the last: clock, controllers, update.
    void frame(Ticks ms = 20)
    {
        now += ms;
        ScriptedClock::set(now);
        beginFrame();
        PadFrame played;
        for (PadState& each : pads)
            played.play(each);
        played.end(game_time_delta);
        updateFrame();
    }
};

TEST_F(GamepadTest, TheLeftStickHoldsEachWalkingKeyPastAQuarterOfItsTravel)
{
    struct Direction {
        double PadState::*axis;
        double sign;
        bool Input::*key;
    };
    for (const Direction& d : {Direction{&PadState::leftY, -1, &Input::keyW}, Direction{&PadState::leftY, 1, &Input::keyS},
                               Direction{&PadState::leftX, -1, &Input::keyA}, Direction{&PadState::leftX, 1, &Input::keyD}}) {
        pad.*d.axis = 0.25 * d.sign;
        frame();
        EXPECT_FALSE(walking()) << "at the dead zone's edge, sign " << d.sign;
        pad.*d.axis = 0.26 * d.sign;
        frame();
        EXPECT_TRUE(input.*d.key) << "sign " << d.sign;
        pad.*d.axis = d.sign;
        frame();
        frame();
        EXPECT_TRUE(input.*d.key);
        EXPECT_EQ(input.keyW + input.keyA + input.keyS + input.keyD, 1) << "one key for one direction";
        pad.*d.axis = 0;
        frame();
        EXPECT_FALSE(walking()) << "the stick back, sign " << d.sign;
    }
    // Forward and left together, as W and A held.
    pad.leftX = -0.7;
    pad.leftY = -0.7;
    frame();
    EXPECT_TRUE(input.keyW && input.keyA && !input.keyS && !input.keyD);
}

TEST_F(GamepadTest, AWalkingKeyIsHeldUntilBothTheKeyboardAndTheStickLetGo)
{
    // W held on the keyboard, the stick pushed forward and back: the player walks on.
    keyboard(InputEvent::KeyDown, Key::W);
    pad.leftY = -1;
    frame();
    pad.leftY = 0;
    frame();
    EXPECT_TRUE(input.keyW) << "the stick's return let go of a key the keyboard holds";
    keyboard(InputEvent::KeyUp, Key::W);
    EXPECT_FALSE(input.keyW);

    // The stick forward, W pressed and let go on the keyboard meanwhile: still walking.
    pad.leftY = -1;
    frame();
    keyboard(InputEvent::KeyDown, Key::W);
    keyboard(InputEvent::KeyUp, Key::W);
    EXPECT_TRUE(input.keyW) << "the keyboard let go of a key the stick holds";
    const double z = player.pos.z;
    frame(100);
    EXPECT_LT(player.pos.z, z - 1.0);

    // Pulled out while it holds W and D: the walk stops; D held on the keyboard stays.
    keyboard(InputEvent::KeyDown, Key::D);
    pad.leftX = 1;
    frame();
    pads.clear();
    frame();
    EXPECT_FALSE(input.keyW);
    EXPECT_TRUE(input.keyD);
}

TEST_F(GamepadTest, FullDeflectionTurnsHalfATurnASecondAtFastAndSlowFrames)
{
    for (Ticks ms : {Ticks{17}, Ticks{330}}) {
        resetWorld();
        forgetPads();
        frame();
        pad.rightX = 1;
        const int frames = 990 / ms;
        for (int i = 0; i < frames; ++i)
            frame(ms);
        pad.rightX = 0;
        frame();
        // 180 degrees a second over the frames' time, to within one unit of motion (0.15 degrees).
        const double expected = 180.0 * frames * ms / 1000.0;
        EXPECT_NEAR(turnedDegrees(), expected, 0.16) << ms << " ms frames";
        EXPECT_GT(player.dir.x, 0) << "the stick to the right turns right";
        frame(500);
        EXPECT_NEAR(turnedDegrees(), expected, 0.16) << "the stick back at the centre, " << ms << " ms frames";
    }

    // Inside its dead zone the stick turns nothing, however long; just past it, the turn grows from
    // nothing; pulled down it raises the camera as the mouse moved down does, 1200 units a second,
    // 0.3 of the distance. A frame after a stall turns no further than a second's frame would.
    resetWorld();
    forgetPads();
    pad.rightX = 0.2;
    for (int i = 0; i < 20; ++i)
        frame(100);
    EXPECT_EQ(player.dir.x, 0.0);
    pad.rightX = 0.28; // a tenth of the way past the dead zone: 18 degrees a second
    for (int i = 0; i < 10; ++i)
        frame(100);
    EXPECT_NEAR(turnedDegrees(), 18.0, 0.16);
    frame(5000);
    EXPECT_NEAR(turnedDegrees(), 18.0 + 18.0, 0.16) << "a 5 s frame turns as a 1 s one";
    pad.rightX = 0;
    frame();
    pad.rightY = 1;
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
    pad = PadState{};
    pad.rightTrigger = 0.5;
    pad.leftTrigger = 0.5;
    frame();
    frame();
    EXPECT_EQ(stuns(), 0);
    EXPECT_DOUBLE_EQ(enemy->hp, 100.0);
    pad.leftTrigger = 0;
    // The right trigger stuns, once past half its travel, and again only after it came back under a quarter.
    const std::vector<std::pair<double, int>> pulls = {{0.24, 0}, {0.49, 0}, {0.5, 1}, {1.0, 1}, {0.25, 1},
                                                       {0.6, 1},  {0.2, 1},  {0.55, 2}};
    for (const auto& [travel, expected] : pulls) {
        pad.rightTrigger = travel;
        frame();
        frame();
        EXPECT_EQ(stuns(), expected) << "right trigger at " << travel;
    }
    pad.rightTrigger = 0;
    // The left trigger hits for 25, once a pull, however long it is held.
    pad.leftTrigger = 1;
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_DOUBLE_EQ(enemy->hp, 75.0);
    pad.leftTrigger = 0;
    // A stuns and B hits, once a press.
    pressPadButton(PadButton::A);
    pressPadButton(PadButton::B);
    frame();
    EXPECT_EQ(stuns(), 3);
    EXPECT_DOUBLE_EQ(enemy->hp, 50.0);
    // The right shoulder brings the camera in a notch, the left one takes it out; the other buttons
    // (Start, Back) press nothing.
    pressPadButton(PadButton::RightShoulder);
    EXPECT_DOUBLE_EQ(player.camDist, 150.0);
    pressPadButton(PadButton::LeftShoulder);
    pressPadButton(PadButton::Other);
    frame();
    EXPECT_DOUBLE_EQ(player.camDist, 180.0);
    EXPECT_EQ(stuns(), 3);
    EXPECT_DOUBLE_EQ(enemy->hp, 50.0);
}

// SDL's side, with its virtual controllers: opened when plugged in, their axes read as the
// policy's travel (a trigger from its rest), their buttons pressed, the keyboard's keys shared
// with the sticks, and each closed with its keys let go when pulled out, the other playing on.
class SdlGamepadTest : public EventTest {
protected:
    Ticks now = 1000;

    void SetUp() override
    {
        EventTest::SetUp();
        startGamepads();
        closeGamepads();
    }
    void TearDown() override
    {
        closeGamepads();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        EventTest::TearDown();
    }

    // One frame of the loop, 20 ms after the last: clock, events and controllers, update.
    void frame()
    {
        now += 20;
        ScriptedClock::set(now);
        beginFrame();
        pollEvents(context);
        updateFrame();
    }
};

TEST_F(SdlGamepadTest, ControllersArePluggedReadPressedAndPulledOut)
{
    Enemy* enemy = new Enemy(0, 0, -6);
    VirtualPad first;
    VirtualPad second;
    // Its triggers' rest as the joystick reports it (-32768): let go, so a pull attacks at once.
    first.axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
    first.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    frame();
    frame();
    ASSERT_EQ(gamepadCount(), 2);
    // A quarter of the left stick's travel is its dead zone's edge: 0.3 of it walks, 0.2 does not.
    first.axis(SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(0.2 * FULL));
    frame();
    EXPECT_FALSE(input.keyD);
    first.axis(SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(0.3 * FULL));
    second.axis(SDL_CONTROLLER_AXIS_LEFTY, FULL);
    first.axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, FULL);
    frame();
    EXPECT_TRUE(input.keyD && input.keyS);
    EXPECT_DOUBLE_EQ(enemy->hp, 75.0) << "the left trigger pulled all the way hits";
    // The keyboard's D, pressed and let go while the stick holds it, does not stop the walk.
    press(SDLK_d, context);
    release(SDLK_d, context);
    EXPECT_TRUE(input.keyD);

    first.unplug();
    frame();
    EXPECT_EQ(gamepadCount(), 1);
    EXPECT_TRUE(!input.keyD && input.keyS) << "only the unplugged controller's key is let go";
    second.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    second.button(SDL_CONTROLLER_BUTTON_START, true);
    frame();
    EXPECT_DOUBLE_EQ(player.camDist, 150.0);
    EXPECT_TRUE(running) << "Start quits nothing";
    // Plugged in again during play, it plays again.
    VirtualPad again;
    again.axis(SDL_CONTROLLER_AXIS_LEFTY, -FULL);
    second.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    frame();
    EXPECT_EQ(gamepadCount(), 2);
    EXPECT_TRUE(input.keyW && !input.keyS);
}
