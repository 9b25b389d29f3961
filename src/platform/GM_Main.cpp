// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Glacimor's entry: brings up SDL and OpenGL with the shaders and textures, and runs the frame
// loop until the player quits with Escape or by closing the window. <SDL.h> stays included
// here: on Windows it renames main to SDL_main, which SDL's own entry wrapper calls.
#include "core/process.h"
#include "core/settings.h"
#include "core/signals.h"
#include "game/frame.h"
#include "platform/events.h"
#include "platform/gamepad.h"
#include "platform/messages.h"
#include "platform/sound.h"
#include "platform/startup.h"

#include <SDL.h>

#include <cstdlib>

// Declared with arguments so that SDL's entry wrapper can take it over on Windows.
int main(int, char*[])
{
    prepareProcess();
    guardStartUp();
    bool running = true;

    keepMessages();
    BringUp how;
    how.fullscreen = set_fullscreen;
    how.capturePointer = true;
    Screen screen;
    if (!bringUp(how, screen))
        std::exit(1);

    // From here on no key is lost to SDL's queue, however much the mouse moves in one frame.
    holdEvents();
    startGamepads();
    startSound(screen.window);
    EventContext events{&running, screen.window};
    startPlaying();
    while (running) {
        beginFrame();
        pollEvents(events);
        updateFrame();
        fitViewport(screen);
        renderFrame(screen.aspect);
        SDL_GL_SwapWindow(screen.window);
    }
    return 0;
}
