// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Game controllers in the game's terms: what their sticks, triggers and buttons press.
#include "game/gamepad_policy.h"

#include "game/controls.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

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

} // namespace

void PadFrame::play(PadState& pad)
{
    if (pad.leftY < -WALK_DEAD_ZONE)
        held |= WALK_W;
    if (pad.leftY > WALK_DEAD_ZONE)
        held |= WALK_S;
    if (pad.leftX < -WALK_DEAD_ZONE)
        held |= WALK_A;
    if (pad.leftX > WALK_DEAD_ZONE)
        held |= WALK_D;
    turnX += pastDeadZone(pad.rightX, TURN_DEAD_ZONE);
    turnY += pastDeadZone(pad.rightY, TURN_DEAD_ZONE);
    pull(pad.rightPulled, pad.rightTrigger, Button::Left);
    pull(pad.leftPulled, pad.leftTrigger, Button::Right);
}

void PadFrame::end(Ticks elapsed)
{
    holdWithSticks(held);
    turn(turnX, turnY, elapsed);
}

void pressPadButton(PadButton button)
{
    switch (button) {
    case PadButton::A: click(Button::Left); break;
    case PadButton::B: click(Button::Right); break;
    // The right shoulder sits by the right trigger, under the finger that attacks: it brings the
    // camera in to the fight, as the wheel rolled away does; the left one takes it back out.
    case PadButton::RightShoulder: click(Button::WheelUp); break;
    case PadButton::LeftShoulder: click(Button::WheelDown); break;
    case PadButton::Other: break;
    }
}

void forgetPads()
{
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
