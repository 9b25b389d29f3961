// Keyboard and mouse: the held keys and the mouse motion that the player consumes,
// and the dispatch of one SDL event into them and into the settings.
#ifndef GLACIMOR_INPUT_H
#define GLACIMOR_INPUT_H

#include <SDL_keysym.h>

#include <cstdint>

union SDL_Event;
struct SDL_Surface;

class Input {
public:
    bool keyW = false;
    bool keyA = false;
    bool keyS = false;
    bool keyD = false;
    bool keyUp = false;
    bool keyDown = false;
    // Held, but bound to nothing: kept for later attacks and tools.
    bool keyLeft = false;
    bool keyRight = false;
    bool mouseLeft = false;
    bool mouseRight = false;
    std::int32_t mouseX = 0; // summed xrel since the player last consumed it
    std::int32_t mouseY = 0; // summed yrel since the player last consumed it
    double mouseSensitivity = 0.15;

    Input() = default;
};

// What an event asks of the frame loop beyond the global state it changes.
struct EventContext {
    bool* running = nullptr;       // cleared by Escape and the window's close request
    SDL_Surface* screen = nullptr; // the surface F toggles to and from full screen
};

// Hands one event to the input record, the settings, the HUD and the player.
void dispatchEvent(const SDL_Event& event, EventContext& context);

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
