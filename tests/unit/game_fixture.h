// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Shared by the logic tests: a clock that the test sets by hand, and a fixture that puts the
// real global world (player, input, settings, lists, clocks, HUD, snow and the random sequence)
// back to its start-up state around every test, so that the tests do not depend on their order.
#ifndef GLACIMOR_TESTS_UNIT_GAME_FIXTURE_H
#define GLACIMOR_TESTS_UNIT_GAME_FIXTURE_H

#include "actors/effect.h"
#include "actors/enemy.h"
#include "actors/player.h"
#include "core/clock.h"
#include "core/input.h"
#include "core/random.h"
#include "core/settings.h"
#include "game/frame.h"
#include "game/reset.h"
#include "platform/events.h"
#include "ui/gui.h"
#include "world/camera.h"
#include "world/light.h"
#include "world/particles.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

// The scripted clock: every reader of the time (frames, effects, the score, the HUD) sees this.
struct ScriptedClock {
    static Ticks& now()
    {
        static Ticks value = 0;
        return value;
    }
    static Ticks read() { return now(); }
    static void set(Ticks t) { now() = t; }
};

class GameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetWorld();
        ScriptedClock::set(0);
        setTickSource(&ScriptedClock::read);
    }
    void TearDown() override
    {
        resetWorld();
        ScriptedClock::set(0);
        setTickSource(nullptr);
    }

    // One frame's update as the loop runs it, at the given tick, without drawing.
    static void frameAt(Ticks t)
    {
        ScriptedClock::set(t);
        beginFrame();
        updateFrame();
    }

    static std::string text(Gui_textObj& slot) { return slot.chars(); }
};

// A game with its event pump: what Escape and the window's close request clear, and where
// the events are handed.
class EventTest : public GameTest {
protected:
    bool running = true;
    EventContext context;

    void SetUp() override
    {
        GameTest::SetUp();
        context.running = &running;
    }
};

// Synthetic SDL events, as SDL_PollEvent would deliver them.
inline SDL_Event keyEvent(Uint32 type, SDL_Keycode key, bool repeat = false)
{
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = key;
    return e;
}

inline SDL_Event buttonEvent(Uint32 type, Uint8 button)
{
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.button.type = type;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.button = button;
    return e;
}

// Whole notches of the wheel, up (away from the player) positive, as SDL counts them; `flipped`
// when the system reports them the other way round (natural scrolling).
inline SDL_Event wheelEvent(Sint32 notches, bool flipped = false)
{
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEWHEEL;
    e.wheel.type = SDL_MOUSEWHEEL;
    e.wheel.y = notches;
    e.wheel.preciseY = static_cast<float>(notches);
    e.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    return e;
}

inline SDL_Event motionEvent(Sint32 xrel, Sint32 yrel)
{
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEMOTION;
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.xrel = xrel;
    e.motion.yrel = yrel;
    return e;
}

inline void press(SDL_Keycode key, EventContext& context)
{
    dispatchEvent(keyEvent(SDL_KEYDOWN, key), context);
}

inline void release(SDL_Keycode key, EventContext& context)
{
    dispatchEvent(keyEvent(SDL_KEYUP, key), context);
}

inline void click(Uint8 button, EventContext& context)
{
    dispatchEvent(buttonEvent(SDL_MOUSEBUTTONDOWN, button), context);
    dispatchEvent(buttonEvent(SDL_MOUSEBUTTONUP, button), context);
}

#endif
