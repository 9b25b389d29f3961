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
    bool capturePointer = false; // hide the cursor and grab the mouse, as the game plays
    bool loadAssets = true;      // the two shader programs and the four textures, from the working folder
    bool quitAtExit = true;      // SDL_Quit from atexit (it unloads the GL driver)
};

// What the bring-up opened.
struct Screen {
    SDL_Surface* surface = nullptr; // kept for the full-screen toggle
    double aspect = 1.0;            // width / height of the video mode, fixed for the run
};

// In order: the data folders (when assets are loaded), SDL and its clock behind the game's tick seam, the GL attributes, cursor and caption,
// the video mode, the pointer grab, the aspect, the fixed GL state, GLEW, then the snow's
// program, the scene's program and the textures. Returns false after naming the step
// that failed on standard error.
bool bringUp(const BringUp& how, Screen& screen);

// True when the working folder holds the game's data folders, textures/ and shader/, and the game
// may read them. Otherwise says on one line of standard error where the game looked, which folder
// is not there (and how to start the game) or cannot be read (core/datafile.h: gameDataFault).
bool findGameData();

// The SDL call that opens the video mode; tests replace it to play a driver that refuses.
using SetVideoModeFn = SDL_Surface* (*)(int width, int height, int bpp, Uint32 flags);

// Requests double buffering, the swap control of set_vsync, and 4x multisampling or none.
void requestGLAttributes(bool multisample);

// Opens full screen at the desktop's resolution, or a window of the given size. If the driver
// refuses the multisampled mode, asks once more without multisampling. Null when both fail.
SDL_Surface* openVideoMode(bool fullscreen, SetVideoModeFn setVideoMode = SDL_SetVideoMode, int width = 800,
                           int height = 600);

// The GL state that holds for the whole run: depth test, texturing, normalised normals,
// colour material, back-face culling, blending with the source's alpha over what is drawn.
void setFixedGLState();

// Reports a start-up step that failed, with its reason, on one line of standard error.
void reportStartupFailure(const char* step, const char* reason);

#endif
