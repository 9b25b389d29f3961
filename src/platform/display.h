// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The connection to the display, watched: when the X server or the Wayland compositor goes away,
// or the game's connection is killed, the game ends at once with status 1 and its one line
// (core/signals.h: displayLost), instead of running on unseen.
#ifndef GLACIMOR_PLATFORM_DISPLAY_H
#define GLACIMOR_PLATFORM_DISPLAY_H

#include <SDL.h>

#include <string>

// Makes the X library's handler of a lost connection the game's (displayLost), whichever thread
// finds the connection dead: the entry's in a frame, its event pump or its swap, or the shader
// thread during start-up. Without it the X library prints its own line and calls exit(1), whose
// exit handlers (SDL_Quit) then wait on the dead connection for ever, at up to a whole core. The X
// library is reached where SDL and the GL driver have loaded it; where it is not loaded there is no
// X connection to watch. Called before SDL_Init and again once the window stands, in case SDL has
// put a handler of its own in place meanwhile.
void watchDisplayConnection();

// True when the window's Wayland connection has failed (the compositor ended): SDL then asks the
// game to quit as if the player had closed the window, and the event pump tells the two apart by
// this. False on X, whose lost connection never comes back to the game (watchDisplayConnection).
bool displayConnectionLost(SDL_Window* window);

// Standard error held aside while the game connects to the display: the X library writes a
// refusing server's reason there on its own, and the Wayland library its complaints, which would
// otherwise stand beside the game's one line. Meanwhile the lines of core/signals.h still reach
// standard error. release() (or the end of the hold) puts standard error back and returns what was
// written meanwhile. Holds nothing where the system offers no temporary file, and on Windows.
class HeldStandardError {
public:
    HeldStandardError();
    ~HeldStandardError();
    HeldStandardError(const HeldStandardError&) = delete;
    HeldStandardError& operator=(const HeldStandardError&) = delete;
    std::string release();

private:
    int saved = -1;
    int held = -1;
};

// Whether the X display named by DISPLAY refuses the game's connection (its authority is wrong or
// missing, or it takes no more clients): the display's name and the server's reason, as in
// "the display :0 refused the connection: Authorization required, but no authorization protocol
// specified"; empty when DISPLAY is not set, nothing answers there, or the display takes the game.
// Asked once SDL has found no display, to say what it could not.
std::string displayRefusal();

#endif
