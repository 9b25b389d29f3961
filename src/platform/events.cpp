// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// SDL's events in the game's terms.
#include "platform/events.h"

#include "core/signals.h"
#include "game/controls.h"
#include "game/gamepad_policy.h"
#include "platform/display.h"
#include "platform/gamepad.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

SDL_Event eventqueue;

// What foldEvent keeps until the frame reads it. The sums are atomic and the list is locked,
// because SDL runs the filter on whichever thread sends the event while the frame reads them.
std::atomic<std::int32_t> foldedX{0};
std::atomic<std::int32_t> foldedY{0};
SDL_mutex* heldLock = nullptr;
std::vector<SDL_Event> held;
// A request to quit that came when the list was full.
std::atomic<bool> quitPastTheBound{false};

bool answeredTo(Uint32 type)
{
    switch (type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
    case SDL_QUIT: return true;
    default: return false;
    }
}

// Escape and the window's close request: what must end the game however many events came first.
bool asksToQuit(const SDL_Event& event)
{
    return event.type == SDL_QUIT || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE);
}

// The lock exists from holdEvents on; the unit tests call foldEvent without it, on one thread.
void lock()
{
    if (heldLock)
        SDL_LockMutex(heldLock);
}

void unlock()
{
    if (heldLock)
        SDL_UnlockMutex(heldLock);
}

Key translateKey(SDL_Keycode key)
{
    switch (key) {
    case SDLK_w: return Key::W;
    case SDLK_a: return Key::A;
    case SDLK_s: return Key::S;
    case SDLK_d: return Key::D;
    case SDLK_UP: return Key::Up;
    case SDLK_DOWN: return Key::Down;
    case SDLK_LEFT: return Key::Left;
    case SDLK_RIGHT: return Key::Right;
    case SDLK_F1: return Key::F1;
    case SDLK_F2: return Key::F2;
    case SDLK_F3: return Key::F3;
    case SDLK_F4: return Key::F4;
    case SDLK_F5: return Key::F5;
    case SDLK_F6: return Key::F6;
    case SDLK_F7: return Key::F7;
    case SDLK_F8: return Key::F8;
    case SDLK_F9: return Key::F9;
    case SDLK_m: return Key::M;
    case SDLK_ESCAPE: return Key::Escape;
    case SDLK_f: return Key::F;
    case SDLK_1: return Key::Num1;
    case SDLK_2: return Key::Num2;
    case SDLK_3: return Key::Num3;
    case SDLK_4: return Key::Num4;
    default: return Key::Other;
    }
}

Button translateButton(Uint8 button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return Button::Left;
    case SDL_BUTTON_RIGHT: return Button::Right;
    default: return Button::Other;
    }
}

// What the game asks of the platform.
void carryOut(Request request, EventContext& context)
{
    switch (request) {
    case Request::Quit:
        // A Wayland compositor that ended reaches the game as SDL's quit request; that is no
        // player's choice, and the game ends as for any display it lost.
        if (displayConnectionLost(context.window))
            displayLost();
        if (context.running)
            *context.running = false;
        break;
    case Request::ToggleFullScreen:
        if (context.window) {
            const bool full = (SDL_GetWindowFlags(context.window) & SDL_WINDOW_FULLSCREEN) != 0;
            SDL_SetWindowFullscreen(context.window, full ? 0u : Uint32{SDL_WINDOW_FULLSCREEN_DESKTOP});
        }
        break;
    case Request::None: break;
    }
}

// Each whole notch of the wheel is one press of its button, up (away from the player) or down.
void dispatchWheel(const SDL_MouseWheelEvent& wheel)
{
    const int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
    InputEvent press;
    press.button = notches > 0 ? Button::WheelUp : Button::WheelDown;
    for (int i = 0; i < std::abs(notches); ++i) {
        press.type = InputEvent::ButtonDown;
        handleInput(press);
        press.type = InputEvent::ButtonUp;
        handleInput(press);
    }
}

} // namespace

InputEvent translateEvent(const SDL_Event& event)
{
    InputEvent out;
    switch (event.type) {
    case SDL_KEYDOWN:
        // SDL repeats a held key; the game, as ever, takes it once.
        if (event.key.repeat)
            break;
        out.type = InputEvent::KeyDown;
        out.key = translateKey(event.key.keysym.sym);
        break;
    case SDL_KEYUP:
        out.type = InputEvent::KeyUp;
        out.key = translateKey(event.key.keysym.sym);
        break;
    case SDL_MOUSEMOTION:
        out.type = InputEvent::MouseMotion;
        out.dx = event.motion.xrel;
        out.dy = event.motion.yrel;
        break;
    case SDL_MOUSEBUTTONDOWN:
        out.type = InputEvent::ButtonDown;
        out.button = translateButton(event.button.button);
        break;
    case SDL_MOUSEBUTTONUP:
        out.type = InputEvent::ButtonUp;
        out.button = translateButton(event.button.button);
        break;
    // The window's close request; on Windows SDL makes Alt+F4 one as well.
    case SDL_QUIT: out.type = InputEvent::Quit; break;
    default: break;
    }
    return out;
}

void dispatchEvent(const SDL_Event& event, EventContext& context)
{
    if (event.type == SDL_MOUSEWHEEL)
        dispatchWheel(event.wheel);
    else if (!dispatchGamepadEvent(event))
        carryOut(handleInput(shareWithSticks(translateEvent(event))), context);
}

void holdEvents()
{
    if (!heldLock)
        heldLock = SDL_CreateMutex();
    held.reserve(256);
    // Setting a filter empties SDL's queue, so what is queued already is taken first, in order, as
    // the filter would have taken it. What the game does not answer to is dropped, as it would be ignored.
    SDL_Event queued[64];
    int count = 0;
    while ((count = SDL_PeepEvents(queued, 64, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0)
        for (int i = 0; i < count; ++i)
            foldEvent(nullptr, &queued[i]);
    SDL_SetEventFilter(foldEvent, nullptr);
}

int SDLCALL foldEvent(void*, SDL_Event* event)
{
    if (event->type == SDL_MOUSEMOTION) {
        foldedX.fetch_add(event->motion.xrel, std::memory_order_relaxed);
        foldedY.fetch_add(event->motion.yrel, std::memory_order_relaxed);
        return 0;
    }
    if (!answeredTo(event->type))
        return 1;
    if (event->type == SDL_KEYDOWN && event->key.repeat)
        return 0;
    lock();
    if (held.size() < MAX_HELD_EVENTS)
        held.push_back(*event);
    else if (asksToQuit(*event))
        quitPastTheBound.store(true, std::memory_order_relaxed);
    unlock();
    return 0;
}

void dispatchHeldEvents(EventContext& context)
{
    // Taken out under the lock and handed over without it: an event handled here (F, the full-
    // screen toggle) may make SDL pump, and what arrives then is held for the next frame.
    static std::vector<SDL_Event> taken;
    taken.clear();
    lock();
    taken.swap(held);
    unlock();
    for (const SDL_Event& event : taken)
        dispatchEvent(event, context);
    // SIGTERM and SIGINT ask as Escape does, after everything that came before them.
    if (quitPastTheBound.exchange(false, std::memory_order_relaxed) || stopRequested()) {
        InputEvent quit;
        quit.type = InputEvent::Quit;
        carryOut(handleInput(quit), context);
    }

    InputEvent motion;
    motion.type = InputEvent::MouseMotion;
    motion.dx = foldedX.exchange(0, std::memory_order_relaxed);
    motion.dy = foldedY.exchange(0, std::memory_order_relaxed);
    if (motion.dx != 0 || motion.dy != 0)
        handleInput(motion);
}

void pollEvents(EventContext& context)
{
    // Pumps SDL: what the filter holds goes to the held list, the rest stays in SDL's queue (all of
    // it, before holdEvents ran: the unit tests and the tools).
    while (SDL_PollEvent(&eventqueue))
        dispatchEvent(eventqueue, context);
    dispatchHeldEvents(context);
    pollGamepads(game_time_delta);
}
