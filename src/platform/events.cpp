// SDL's events in the game's terms.
#include "platform/events.h"

#include "game/controls.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace {

SDL_Event eventqueue;

// What foldEvent keeps until the frame reads it. The sums are atomic and the list is locked,
// because SDL may run the filter on its event thread (SDL 1.2 on Windows can) while the frame
// reads them.
std::atomic<std::int32_t> foldedX{0};
std::atomic<std::int32_t> foldedY{0};
SDL_mutex* heldLock = nullptr;
std::vector<SDL_Event> held;

bool answeredTo(Uint8 type)
{
    switch (type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_QUIT: return true;
    default: return false;
    }
}

// The lock exists from holdEvents on; the unit tests call foldEvent without it, on one thread.
void lock()
{
    if (heldLock)
        SDL_mutexP(heldLock);
}

void unlock()
{
    if (heldLock)
        SDL_mutexV(heldLock);
}

Key translateKey(SDLKey key)
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
    case SDL_BUTTON_WHEELUP: return Button::WheelUp;
    case SDL_BUTTON_WHEELDOWN: return Button::WheelDown;
    default: return Button::Other;
    }
}

} // namespace

bool isQuitChord(SDLKey key, SDLMod mod, bool windowsRules)
{
    return windowsRules && key == SDLK_F4 && (mod & KMOD_ALT) != 0;
}

InputEvent translateEvent(const SDL_Event& event)
{
    InputEvent out;
    switch (event.type) {
    case SDL_KEYDOWN:
        // On Windows Alt+F4 closes the window instead of toggling texture filtering.
        if (isQuitChord(event.key.keysym.sym, event.key.keysym.mod, quitChordWindowsRules)) {
            out.type = InputEvent::Quit;
            break;
        }
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
    case SDL_QUIT: out.type = InputEvent::Quit; break;
    default: break;
    }
    return out;
}

void dispatchEvent(const SDL_Event& event, EventContext& context)
{
    switch (handleInput(translateEvent(event))) {
    case Request::Quit:
        if (context.running)
            *context.running = false;
        break;
    case Request::ToggleFullScreen:
        if (context.screen)
            SDL_WM_ToggleFullScreen(context.screen);
        break;
    case Request::None: break;
    }
}

void holdEvents()
{
    if (!heldLock)
        heldLock = SDL_CreateMutex();
    held.reserve(256);
    // What is queued already is taken first, in order, as the filter would have taken it: SDL 1.2
    // itself (the Windows build's) empties its queue when a filter is set. What the game does not
    // answer to is dropped, as it would be ignored.
    SDL_Event queued[64];
    int count = 0;
    while ((count = SDL_PeepEvents(queued, 64, SDL_GETEVENT, SDL_ALLEVENTS)) > 0)
        for (int i = 0; i < count; ++i)
            foldEvent(&queued[i]);
    SDL_SetEventFilter(foldEvent);
}

int SDLCALL foldEvent(const SDL_Event* event)
{
    if (event->type == SDL_MOUSEMOTION) {
        foldedX.fetch_add(event->motion.xrel, std::memory_order_relaxed);
        foldedY.fetch_add(event->motion.yrel, std::memory_order_relaxed);
        return 0;
    }
    if (!answeredTo(event->type))
        return 1;
    lock();
    if (held.size() < MAX_HELD_EVENTS)
        held.push_back(*event);
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
}
