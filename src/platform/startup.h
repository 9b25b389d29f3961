// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bringing up the window, its OpenGL context and what the game loads into it, with the
// fallbacks a real machine needs. One bring-up for the game, the GL tests and the benchmark.
#ifndef GLACIMOR_PLATFORM_STARTUP_H
#define GLACIMOR_PLATFORM_STARTUP_H

#include <SDL.h>

// How to come up: the game's defaults, or what a test or the benchmark asks for.
struct BringUp {
    const char* caption = "Glacimor";
    bool fullscreen = false;     // full screen at the desktop's resolution, else width x height
    int width = 800;
    int height = 600;
    bool multisample = true;     // ask for 4x multisampling, and once more without it if refused
    bool capturePointer = false; // hide the cursor and grab the mouse in relative mode, as the game plays
    bool loadAssets = true;      // the two shader programs and the four textures, from the working folder
    bool quitAtExit = true;      // SDL_Quit from atexit (it unloads the GL driver)
};

// What the bring-up opened.
struct Screen {
    SDL_Window* window = nullptr;       // swapped every frame; F toggles it to and from full screen
    SDL_GLContext context = nullptr;
    double aspect = 1.0;                // width / height of what the window draws at start, fixed for the run
    int drawableWidth = 0;              // the pixels the viewport covers, which fitViewport keeps
    int drawableHeight = 0;
};

// In order: the data folders (when assets are loaded), SDL and its clock behind the game's tick seam, the GL
// attributes, the cursor, the window with its caption and its GL context, the swap interval, the pointer
// grabbed in relative mode, the viewport and the aspect, the fixed GL state, GLEW, then the snow's
// program, the scene's program and the textures. Returns false after naming the step
// that failed on standard error.
bool bringUp(const BringUp& how, Screen& screen);

// True when the working folder holds the game's data folders, textures/ and shader/, and the game
// may read them. Otherwise says on one line of standard error where the game looked, which folder
// is not there (and how to start the game) or cannot be read (core/datafile.h: gameDataFault).
bool findGameData();

// The SDL call that opens the window (SDL_CreateWindow); tests replace it to play a driver that refuses.
using CreateWindowFn = SDL_Window* (*)(const char* title, int x, int y, int width, int height, Uint32 flags);

// Requests double buffering, and 4x multisampling or none; in a browser, an OpenGL ES 2.0 context
// (WebGL 1).
void requestGLAttributes(bool multisample);

// Opens full screen at the desktop's resolution, or a window of the given size, asking for the
// full pixel size of a scaled desktop, and makes its GL context current with the swap interval of
// set_vsync. If the driver refuses the multisampled window or context, asks once more without
// multisampling. Sets the window and the context of `screen` and returns null; when both tries
// fail, the name of the SDL call that failed the second time (SDL_GetError says why).
const char* openWindow(Screen& screen, const char* caption, bool fullscreen,
                       CreateWindowFn createWindow = SDL_CreateWindow, int width = 800, int height = 600);

// Keeps the viewport on the window's whole drawable, in pixels (twice the window's size on a desktop
// at scale 2); called at start-up and before each frame, it touches GL only when that size changed.
void fitViewport(Screen& screen);

// The GL state that holds for the whole run: depth test, texturing, normalised normals,
// colour material, back-face culling, blending with the source's alpha over what is drawn.
void setFixedGLState();

// Reports a start-up step that failed, with its reason, on one line of standard error.
void reportStartupFailure(const char* step, const char* reason);

#endif
