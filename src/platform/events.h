// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The event pump: SDL's events read once per frame and translated into the game's own
// (core/input.h), then handed to the controls; what they ask of the window is done here.
//
// SDL keeps at most 65,535 events between two reads and drops whatever comes after, keys and the
// quit request included; a mouse moved during a frame that stalls for a minute fills that. So,
// once holdEvents has run, SDL hands every event to foldEvent as it arrives: mouse motion is added
// to two running sums and never queued, and the events the game answers to (keys, buttons, the
// wheel, the quit request) wait in a list of the game's own, in their order.
//
// A backlog of keys (typed while a frame stalls, or while the game is stopped) costs the square of
// its length to read, and the game cannot spare itself that: it is SDL's X11 pump, the only way keys
// reach the game. On every key release SDL scans Xlib's whole event queue for a press of the same
// key (X11_KeyRepeat, with a predicate that never matches, so the scan always runs to the end), and
// the XPending before it has just read everything the X server had waiting into that queue. 5,000
// queued keys take 0.6 s to read, 20,000 take 3.3 s, 50,000 take 77 s, nearly all of it in
// XCheckIfEvent. Only replacing SDL's X11 event handling would avoid it. Escape and the window's
// close request come in their order behind such a backlog; SIGTERM and SIGINT do not wait for it
// (core/signals.h).
#ifndef GLACIMOR_PLATFORM_EVENTS_H
#define GLACIMOR_PLATFORM_EVENTS_H

#include "core/input.h"

#include <SDL.h>

#include <cstddef>

// What an event may change beyond the game's state.
struct EventContext {
    bool* running = nullptr;       // cleared by Escape and the window's close request
    SDL_Window* window = nullptr;  // the window F toggles to and from full screen
};

// Installs foldEvent as SDL's event filter. Called once the window is up, before the first frame.
void holdEvents();

// SDL's event filter: folds motion into the sums, holds keys, buttons, the wheel and the quit
// request, drops a held key's repeats, and leaves every other event to SDL's queue (1). SDL may
// call it on a thread of its own.
int SDLCALL foldEvent(void* userdata, SDL_Event* event);

// Frame step: pumps SDL, hands over what is still in SDL's queue, then the held events in the
// order they came, then adds the motion folded since the last frame to the input record; last,
// what the game controllers' sticks and triggers press over the frame (platform/gamepad.h).
void pollEvents(EventContext& context);

// The held events and the folded motion, handed over as pollEvents does after pumping.
void dispatchHeldEvents(EventContext& context);

// Most events held between two frames; beyond it a frame that never ends drops the newest,
// instead of growing without bound (65,536 events: hours of typing). A request to quit (Escape,
// the window's close request) is kept even then, and ends the game after the held events.
constexpr std::size_t MAX_HELD_EVENTS = 65536;

// Translates one event and hands it on; quits or toggles full screen when the game asks to. A
// wheel event is a press and release of the wheel's button for each whole notch it turned (SDL
// adds a high-resolution wheel's fractions up into whole notches).
void dispatchEvent(const SDL_Event& event, EventContext& context);

// The game's view of one SDL event. A key's repeats while it is held are nothing: a held key is
// one press. The wheel is dispatchEvent's (several presses in one event).
InputEvent translateEvent(const SDL_Event& event);

#endif
