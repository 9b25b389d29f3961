// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// SDL's side of the game controllers: opening them at the start and when plugged in, closing them
// when pulled out, and reading their sticks, triggers and buttons for game/gamepad_policy.h, which
// says what they press.
#ifndef GLACIMOR_PLATFORM_GAMEPAD_H
#define GLACIMOR_PLATFORM_GAMEPAD_H

#include "core/clock.h"

#include <SDL.h>

// Starts SDL's game controllers and opens every controller plugged in. Called once the event
// filter holds the events (holdEvents). Where the controllers cannot start, says why on one line
// of standard error and the game plays on with the keyboard and the mouse.
void startGamepads();

// Opens a controller plugged in, closes one pulled out, and presses what its buttons press;
// true when the event was a controller's, false for any other event.
bool dispatchGamepadEvent(const SDL_Event& event);

// Frame step, after the events: the sticks and triggers of every open controller, as they stand,
// played over the frame's real length `elapsed` (ms).
void pollGamepads(Ticks elapsed);

// Controllers open now.
int gamepadCount();

// Closes every controller and forgets what they held, the game's keys included (for the tests).
void closeGamepads();

#endif
