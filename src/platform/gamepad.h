// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Game controllers, played through the inputs the keyboard and the mouse give the game: the left
// stick holds W, A, S and D, the right stick moves as the mouse does, the triggers and face
// buttons attack as the mouse buttons do, the shoulder buttons turn the wheel. Nothing on a
// controller quits the game.
#ifndef GLACIMOR_PLATFORM_GAMEPAD_H
#define GLACIMOR_PLATFORM_GAMEPAD_H

#include "core/clock.h"
#include "core/input.h"

#include <SDL.h>

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

// Starts SDL's game controllers and opens every controller plugged in. Called once the event
// filter holds the events (holdEvents). Where the controllers cannot start, says why on one line
// of standard error and the game plays on with the keyboard and the mouse.
void startGamepads();

// Opens a controller plugged in, closes one pulled out, and presses what its buttons press;
// true when the event was a controller's, false for any other event.
bool dispatchGamepadEvent(const SDL_Event& event);

// Frame step, after the events: the sticks and triggers of every open controller, as they stand,
// over the frame's real length `elapsed` (ms): walking keys held and let go, motion, attacks.
void pollGamepads(Ticks elapsed);

// Controllers open now.
int gamepadCount();

// Closes every controller and forgets what they held, the game's keys included (for the tests).
void closeGamepads();

// A walking key held by the keyboard, by a stick, or both, is down for the game from the first
// to press it until the last lets go: a stick coming back to the centre does not stop a walk the
// keyboard still holds, nor a key let go on the keyboard one a stick still holds. Given a key
// event from the keyboard, returns it, or Ignored when a stick keeps the key down.
InputEvent shareWithSticks(const InputEvent& keyboard);

#endif
