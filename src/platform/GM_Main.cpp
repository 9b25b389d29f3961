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

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace {

// What every frame works on. Not main's locals: in a browser main is left before the first frame,
// and the browser calls each frame on its own.
bool running = true;
Screen screen;
EventContext events{&running, nullptr};

#ifdef __EMSCRIPTEN__
// The player has ended the game (Escape, or the page's close request): no frame follows, the
// sound stops, SDL lets the pointer and the keys go back to the page, and the page says the game
// has ended. There is no process to end: the page stays until the player leaves or reloads it.
void endInBrowser()
{
    emscripten_cancel_main_loop();
    stopSound();
    SDL_Quit();
    EM_ASM({
        if (Module.gameEnded)
            Module.gameEnded();
    });
}
#endif

// One frame, whole: the Escape read in it still sees it drawn and swapped.
void playFrame()
{
    beginFrame();
    pollEvents(events);
    updateFrame();
    fitViewport(screen);
    renderFrame(screen.aspect);
    SDL_GL_SwapWindow(screen.window);
#ifdef __EMSCRIPTEN__
    if (!running)
        endInBrowser();
#endif
}

} // namespace

// Declared with arguments so that SDL's entry wrapper can take it over on Windows.
int main(int, char*[])
{
    prepareProcess();
    guardStartUp();
    running = true;

    keepMessages();
    BringUp how;
    how.fullscreen = set_fullscreen;
    how.capturePointer = true;
    if (!bringUp(how, screen))
        std::exit(1);

    // From here on no key is lost to SDL's queue, however much the mouse moves in one frame.
    holdEvents();
    startGamepads();
    startSound(screen.window);
    events.window = screen.window;
    startPlaying();
#ifdef __EMSCRIPTEN__
    EM_ASM({
        if (Module.gameStarted)
            Module.gameStarted();
    });
    // The browser runs a frame at each of its animation frames (0: as often as it draws the page),
    // and main does not return: what it set up stays for the frames.
    emscripten_set_main_loop(playFrame, 0, 1);
#else
    while (running)
        playFrame();
#endif
    return 0;
}
