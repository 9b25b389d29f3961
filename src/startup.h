// Bringing up the window and its OpenGL context, with the fallbacks a real machine needs.
#ifndef GLACIMOR_STARTUP_H
#define GLACIMOR_STARTUP_H

#include <SDL.h>

// The SDL call that opens the video mode; tests replace it to play a driver that refuses.
using SetVideoModeFn = SDL_Surface* (*)(int width, int height, int bpp, Uint32 flags);

// Requests double buffering, the swap control of set_vsync, and 4x multisampling or none.
void requestGLAttributes(bool multisample);

// Opens full screen at the desktop's resolution, or an 800 x 600 window. If the driver refuses
// the multisampled mode, asks once more without multisampling. Null when both fail.
SDL_Surface* openVideoMode(bool fullscreen, SetVideoModeFn setVideoMode = SDL_SetVideoMode);

// The GL state that holds for the whole run: depth test, texturing, normalised normals,
// colour material, back-face culling, blending.
void setFixedGLState();

// Reports a start-up step that failed, with SDL's reason, on one line of standard error.
void reportStartupFailure(const char* step, const char* reason);

#endif
