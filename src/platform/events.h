// The event pump: SDL's events read once per frame and translated into the game's own
// (core/input.h), then handed to the controls; what they ask of the window is done here.
#ifndef GLACIMOR_PLATFORM_EVENTS_H
#define GLACIMOR_PLATFORM_EVENTS_H

#include "core/input.h"

#include <SDL.h>

// What an event may change beyond the game's state.
struct EventContext {
    bool* running = nullptr;       // cleared by Escape and the window's close request
    SDL_Surface* screen = nullptr; // the surface F toggles to and from full screen
};

// Frame step: drains SDL's event queue into the input record and the settings.
void pollEvents(EventContext& context);

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
