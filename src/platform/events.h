// The event pump: SDL's events read once per frame and translated into the game's own
// (core/input.h), then handed to the controls; what they ask of the window is done here.
//
// SDL 1.2 keeps at most 128 events between two reads and drops whatever comes after, keys and
// the quit request included. A mouse moved during one slow frame fills that in a few hundred
// milliseconds. So, once holdEvents has run, SDL hands every event to foldEvent as it arrives:
// mouse motion is added to two running sums and never queued, and the events the game answers
// to (keys, buttons, the quit request) wait in a list of the game's own, in their order.
#ifndef GLACIMOR_PLATFORM_EVENTS_H
#define GLACIMOR_PLATFORM_EVENTS_H

#include "core/input.h"

#include <SDL.h>

#include <cstddef>

// What an event may change beyond the game's state.
struct EventContext {
    bool* running = nullptr;       // cleared by Escape and the window's close request
    SDL_Surface* screen = nullptr; // the surface F toggles to and from full screen
};

// Installs foldEvent as SDL's event filter. Called once the window is up, before the first frame.
void holdEvents();

// SDL's event filter: folds motion into the sums, holds keys, buttons and the quit request, and
// leaves every other event to SDL's queue (1). SDL may call it on a thread of its own.
int SDLCALL foldEvent(const SDL_Event* event);

// Frame step: pumps SDL, hands over what is still in SDL's queue, then the held events in the
// order they came, then adds the motion folded since the last frame to the input record.
void pollEvents(EventContext& context);

// The held events and the folded motion, handed over as pollEvents does after pumping.
void dispatchHeldEvents(EventContext& context);

// Most events held between two frames; beyond it a frame that never ends drops the newest,
// instead of growing without bound (65,536 events: hours of typing).
constexpr std::size_t MAX_HELD_EVENTS = 65536;

// Translates one event and hands it on; quits or toggles full screen when the game asks to.
void dispatchEvent(const SDL_Event& event, EventContext& context);

// The game's view of one SDL event.
InputEvent translateEvent(const SDL_Event& event);

// Windows players close a window with Alt+F4, but SDL 1.2's Windows video driver keeps that chord
// from the system, so no close request ever arrives: under Windows rules the chord is the close
// request. Elsewhere the window manager turns it into a close request of its own.
bool isQuitChord(SDLKey key, SDLMod mod, bool windowsRules);

#ifdef _WIN32
constexpr bool quitChordWindowsRules = true;
#else
constexpr bool quitChordWindowsRules = false;
#endif

#endif
