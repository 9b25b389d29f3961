// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a game controller plays, in the inputs the keyboard and the mouse give the game: the left
// stick holds W, A, S and D past its dead zone, the right stick moves as the mouse does past its
// own, the triggers and face buttons attack as the mouse buttons do, the shoulder buttons turn the
// wheel. Plain code fed the sticks' and triggers' travel: the platform (platform/gamepad.h) opens
// the controllers and reads them for it. Nothing on a controller quits the game.
#ifndef GLACIMOR_GAME_GAMEPAD_POLICY_H
#define GLACIMOR_GAME_GAMEPAD_POLICY_H

#include "core/clock.h"
#include "core/input.h"

// Left stick: the share of its travel past which a direction holds its walking key.
constexpr double WALK_DEAD_ZONE = 0.25;
// Right stick: the share of its travel it may rest at, worn or off centre, without turning the
// player; past it the turn grows from nothing to the full rate.
constexpr double TURN_DEAD_ZONE = 0.2;
// Right stick at full deflection: degrees the player turns per second of real time.
constexpr double TURN_DEGREES_PER_SECOND = 180.0;
// A trigger attacks once when pulled past half its travel, and again only after it has come back
// under a quarter: a finger resting halfway does not attack over and over.
constexpr double TRIGGER_PRESS = 0.5;
constexpr double TRIGGER_RELEASE = 0.25;
// A frame longer than this (the first, which waits for the start-up, or a stall) turns the player
// no further than this long a frame would: a stick held meanwhile does not spin it round and round.
constexpr Ticks LONGEST_TURNING_FRAME = 1000;

// One controller: its sticks and triggers as they stand, which the platform reads before each
// frame, and what its triggers remember from frame to frame.
struct PadState {
    double leftX = 0, leftY = 0;   // the sticks, -1 to 1: right and down positive
    double rightX = 0, rightY = 0;
    double leftTrigger = 0;        // the triggers, 0 let go to 1 pulled all the way
    double rightTrigger = 0;
    // Past the press point, not yet back under the release point. A controller plugged in counts
    // its triggers pulled until they are seen let go: some report half their travel until first
    // touched, which must not fire two attacks as the controller is plugged in.
    bool leftPulled = true;
    bool rightPulled = true;
};

// One frame of every open controller: play() each, then end() once.
class PadFrame {
public:
    // Its triggers attack at once; its sticks add to the frame's walking keys and turn.
    void play(PadState& pad);
    // The walking keys the sticks hold now go down, those they let go up (unless the keyboard
    // holds them), and the turn over the frame's real length `elapsed` (ms) moves as the mouse.
    void end(Ticks elapsed);

private:
    unsigned held = 0;
    double turnX = 0;
    double turnY = 0;
};

// The buttons that press something; the rest (Start, Back, the guide button...) press nothing.
enum class PadButton { Other, A, B, LeftShoulder, RightShoulder };

// A button's press: A stuns and B hits, as the mouse buttons; the shoulders turn the wheel.
void pressPadButton(PadButton button);

// The controllers are gone: the walking keys the sticks held are let go, the turn's fraction and
// what the keyboard held are forgotten.
void forgetPads();

// A walking key held by the keyboard, by a stick, or both, is down for the game from the first
// to press it until the last lets go: a stick coming back to the centre does not stop a walk the
// keyboard still holds, nor a key let go on the keyboard one a stick still holds. Given a key
// event from the keyboard, returns it, or Ignored when a stick keeps the key down.
InputEvent shareWithSticks(const InputEvent& keyboard);

#endif
