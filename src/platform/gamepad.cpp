// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Game controllers in the game's terms: what their sticks, triggers and buttons press.
#include "platform/gamepad.h"

#include "core/datafile.h"
#include "game/controls.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct Pad {
    SDL_GameController* controller;
    SDL_JoystickID id;
    bool leftPulled;  // past the press point, not yet back under the release point
    bool rightPulled;
};

std::vector<Pad> pads;

// The walking keys, one bit each, as the keyboard and the sticks hold them.
constexpr unsigned WALK_W = 1, WALK_A = 2, WALK_S = 4, WALK_D = 8;
unsigned keyboardHolds = 0;
unsigned stickHolds = 0;

// The right stick's motion not yet handed over: less than one unit, kept for the next frame, so
// that many short frames turn the player as far as a few long ones.
double carryX = 0;
double carryY = 0;

unsigned walkBit(Key key)
{
    switch (key) {
    case Key::W: return WALK_W;
    case Key::A: return WALK_A;
    case Key::S: return WALK_S;
    case Key::D: return WALK_D;
    default: return 0;
    }
}

// One axis as a share of its travel, -1 to 1 (a trigger 0 to 1).
double travel(const Pad& pad, SDL_GameControllerAxis axis)
{
    return std::clamp(SDL_GameControllerGetAxis(pad.controller, axis) / 32767.0, -1.0, 1.0);
}

// Nothing inside the dead zone, then from 0 at its edge to 1 at full deflection.
double pastDeadZone(double value, double deadZone)
{
    const double beyond = (std::abs(value) - deadZone) / (1.0 - deadZone);
    if (beyond <= 0)
        return 0;
    return value < 0 ? -beyond : beyond;
}

void click(Button button)
{
    InputEvent event;
    event.button = button;
    event.type = InputEvent::ButtonDown;
    handleInput(event);
    event.type = InputEvent::ButtonUp;
    handleInput(event);
}

// The sticks now hold the walking keys `held`: each key they took or let go goes down or up,
// unless the keyboard holds it.
void holdWithSticks(unsigned held)
{
    for (Key key : {Key::W, Key::A, Key::S, Key::D}) {
        const unsigned bit = walkBit(key);
        if (((held ^ stickHolds) & bit) == 0 || (keyboardHolds & bit) != 0)
            continue;
        InputEvent event;
        event.type = (held & bit) != 0 ? InputEvent::KeyDown : InputEvent::KeyUp;
        event.key = key;
        handleInput(event);
    }
    stickHolds = held;
}

// Motion of the stick's deflection (-1 to 1) over `seconds`, with the carry: whole units out.
std::int32_t wholeUnits(double& carry, double deflection, double seconds)
{
    // A stick let go forgets its fraction: the next push starts from nothing.
    if (deflection == 0) {
        carry = 0;
        return 0;
    }
    // Half a turn a second at full deflection, in the units of the mouse's motion, which the player
    // turns by at its sensitivity in degrees per unit.
    carry += deflection * TURN_DEGREES_PER_SECOND / input.mouseSensitivity * seconds;
    const auto whole = static_cast<std::int32_t>(carry);
    carry -= whole;
    return whole;
}

void turn(double x, double y, Ticks elapsed)
{
    if (input.mouseSensitivity <= 0)
        return;
    const double seconds = std::min(elapsed, LONGEST_TURNING_FRAME) / 1000.0;
    InputEvent motion;
    motion.type = InputEvent::MouseMotion;
    motion.dx = wholeUnits(carryX, std::clamp(x, -1.0, 1.0), seconds);
    motion.dy = wholeUnits(carryY, std::clamp(y, -1.0, 1.0), seconds);
    if (motion.dx != 0 || motion.dy != 0)
        handleInput(motion);
}

void pull(bool& pulled, double value, Button button)
{
    if (!pulled && value >= TRIGGER_PRESS) {
        pulled = true;
        click(button);
    } else if (pulled && value < TRIGGER_RELEASE) {
        pulled = false;
    }
}

void openPad(int deviceIndex)
{
    if (!SDL_IsGameController(deviceIndex))
        return;
    // Those plugged in at the start are opened by startGamepads and announced once more by SDL.
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    for (const Pad& pad : pads)
        if (pad.id == id)
            return;
    // Its triggers attack only once they have been seen let go: some report half their travel
    // until first touched, which must not fire two attacks as the controller is plugged in.
    if (SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex))
        pads.push_back(Pad{controller, id, true, true});
}

void closePad(SDL_JoystickID id)
{
    const auto pad = std::find_if(pads.begin(), pads.end(), [id](const Pad& p) { return p.id == id; });
    if (pad == pads.end())
        return;
    SDL_GameControllerClose(pad->controller);
    pads.erase(pad);
}

void pressButton(Uint8 button)
{
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A: click(Button::Left); break;
    case SDL_CONTROLLER_BUTTON_B: click(Button::Right); break;
    // The right shoulder sits by the right trigger, under the finger that attacks: it brings the
    // camera in to the fight, as the wheel rolled away does; the left one takes it back out.
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: click(Button::WheelUp); break;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: click(Button::WheelDown); break;
    // Start, Back, the guide button and the rest press nothing: a controller never quits the game.
    default: break;
    }
}

} // namespace

void startGamepads()
{
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) < 0) {
        std::fprintf(stderr, "glacimor: no game controllers: %s\n", printableLine(SDL_GetError()).c_str());
        return;
    }
    // The sticks and triggers are read as they stand once a frame. Their motion as events, many
    // hundred a second from a stick that is never quite still, would only fill SDL's queue.
    for (Uint32 type : {SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYHATMOTION, SDL_CONTROLLERAXISMOTION,
                        SDL_CONTROLLERTOUCHPADDOWN, SDL_CONTROLLERTOUCHPADMOTION, SDL_CONTROLLERTOUCHPADUP,
                        SDL_CONTROLLERSENSORUPDATE})
        SDL_EventState(type, SDL_IGNORE);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        openPad(i);
}

bool dispatchGamepadEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: openPad(event.cdevice.which); return true;
    case SDL_CONTROLLERDEVICEREMOVED: closePad(event.cdevice.which); return true;
    case SDL_CONTROLLERBUTTONDOWN: pressButton(event.cbutton.button); return true;
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERDEVICEREMAPPED: return true;
    default: return false;
    }
}

void pollGamepads(Ticks elapsed)
{
    unsigned held = 0;
    double turnX = 0, turnY = 0;
    for (Pad& pad : pads) {
        const double x = travel(pad, SDL_CONTROLLER_AXIS_LEFTX);
        const double y = travel(pad, SDL_CONTROLLER_AXIS_LEFTY);
        if (y < -WALK_DEAD_ZONE)
            held |= WALK_W;
        if (y > WALK_DEAD_ZONE)
            held |= WALK_S;
        if (x < -WALK_DEAD_ZONE)
            held |= WALK_A;
        if (x > WALK_DEAD_ZONE)
            held |= WALK_D;
        turnX += pastDeadZone(travel(pad, SDL_CONTROLLER_AXIS_RIGHTX), TURN_DEAD_ZONE);
        turnY += pastDeadZone(travel(pad, SDL_CONTROLLER_AXIS_RIGHTY), TURN_DEAD_ZONE);
        pull(pad.rightPulled, travel(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT), Button::Left);
        pull(pad.leftPulled, travel(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT), Button::Right);
    }
    holdWithSticks(held);
    turn(turnX, turnY, elapsed);
}

int gamepadCount() { return static_cast<int>(pads.size()); }

void closeGamepads()
{
    for (const Pad& pad : pads)
        SDL_GameControllerClose(pad.controller);
    pads.clear();
    holdWithSticks(0);
    keyboardHolds = 0;
    carryX = carryY = 0;
}

InputEvent shareWithSticks(const InputEvent& keyboard)
{
    const unsigned bit = walkBit(keyboard.key);
    if (bit == 0 || (keyboard.type != InputEvent::KeyDown && keyboard.type != InputEvent::KeyUp))
        return keyboard;
    if (keyboard.type == InputEvent::KeyDown)
        keyboardHolds |= bit;
    else
        keyboardHolds &= ~bit;
    return (stickHolds & bit) != 0 ? InputEvent{} : keyboard;
}
