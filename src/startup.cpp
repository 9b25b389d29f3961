// Start-up of the window and the fixed GL state.
#include "startup.h"

#include "render/gl.h"
#include "settings.h"

#include <cstdio>

void requestGLAttributes(bool multisample)
{
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, set_vsync ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, multisample ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, multisample ? 4 : 0);
}

SDL_Surface* openVideoMode(bool fullscreen, SetVideoModeFn setVideoMode)
{
    // Full screen takes the desktop's resolution. Asked for as 0 x 0, the SDL 1.2 layer on
    // SDL 2 opens a 1 x 1 window where no window manager enlarges it, so ask for the size itself.
    const SDL_VideoInfo* desktop = SDL_GetVideoInfo();
    const int desktopWidth = desktop ? desktop->current_w : 0;
    const int desktopHeight = desktop ? desktop->current_h : 0;
    const auto open = [&]() {
        return fullscreen ? setVideoMode(desktopWidth, desktopHeight, 0, SDL_FULLSCREEN | SDL_OPENGL)
                          : setVideoMode(800, 600, 32, SDL_OPENGL);
    };
    SDL_Surface* screen = open();
    if (!screen) {
        // Many drivers (remote desktops, some virtual machines) offer no multisampled visual.
        requestGLAttributes(false);
        screen = open();
    }
    return screen;
}

void setFixedGLState()
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_NORMALIZE);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_BLEND);
}

void reportStartupFailure(const char* step, const char* reason)
{
    std::fprintf(stderr, "glacimor: %s failed: %s\n", step, reason);
}
