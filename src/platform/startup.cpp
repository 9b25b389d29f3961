// Start-up of the window, the fixed GL state and the game's GL resources.
#include "platform/startup.h"

#include "core/clock.h"
#include "core/datafile.h"
#include "core/settings.h"
#include "platform/bmp.h"
#include "render/gl.h"
#include "render/glew_status.h"
#include "render/shader.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

Ticks sdlTicks() { return SDL_GetTicks(); }

bool fail(const char* step, const char* reason)
{
    reportStartupFailure(step, reason);
    return false;
}

} // namespace

bool findGameData()
{
    const std::string fault = gameDataFault();
    if (!fault.empty())
        std::fprintf(stderr, "glacimor: %s\n", fault.c_str());
    return fault.empty();
}

void requestGLAttributes(bool multisample)
{
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, set_vsync ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, multisample ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, multisample ? 4 : 0);
}

SDL_Surface* openVideoMode(bool fullscreen, SetVideoModeFn setVideoMode, int width, int height)
{
    // Full screen takes the desktop's resolution. Asked for as 0 x 0, the SDL 1.2 layer on
    // SDL 2 opens a 1 x 1 window where no window manager enlarges it, so ask for the size itself.
    const SDL_VideoInfo* desktop = SDL_GetVideoInfo();
    const int desktopWidth = desktop ? desktop->current_w : 0;
    const int desktopHeight = desktop ? desktop->current_h : 0;
    const auto open = [&]() {
        return fullscreen ? setVideoMode(desktopWidth, desktopHeight, 0, SDL_FULLSCREEN | SDL_OPENGL)
                          : setVideoMode(width, height, 32, SDL_OPENGL);
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
    // The one blend function of the game, for the snow's fading flakes and the text's coverage.
    // Set here, before the first frame, so that the first frame blends as every later one does
    // and the driver makes its blending code once.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void reportStartupFailure(const char* step, const char* reason)
{
    std::fprintf(stderr, "glacimor: %s failed: %s\n", step, reason);
}

bool bringUp(const BringUp& how, Screen& screen)
{
    // Before any window or driver: started from the wrong folder, this is all the player sees.
    if (how.loadAssets && !findGameData())
        return false;
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) < 0)
        return fail("SDL_Init", SDL_GetError());
    if (how.quitAtExit)
        std::atexit(SDL_Quit);
    // The game's time counts from SDL_Init.
    setTickSource(sdlTicks);

    requestGLAttributes(how.multisample);
    if (how.capturePointer)
        SDL_ShowCursor(SDL_DISABLE);
    SDL_WM_SetCaption(how.caption, nullptr);
    screen.surface = openVideoMode(how.fullscreen, SDL_SetVideoMode, how.width, how.height);
    if (!screen.surface)
        return fail("SDL_SetVideoMode", SDL_GetError());
    // A hidden pointer that stops at the screen's edge would stop the player turning: grab it,
    // so mouse motion is relative and unbounded.
    if (how.capturePointer)
        SDL_WM_GrabInput(SDL_GRAB_ON);

    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    screen.aspect = static_cast<double>(info->current_w) / static_cast<double>(info->current_h);

    setFixedGLState();
    const GLenum glew = glewInit();
    const std::string glewFault = glewStartupFault(glew);
    if (!glewFault.empty())
        return fail("glewInit", glewFault.c_str());

    if (how.loadAssets) {
        loadShaderPrograms();
        // A texture that cannot be used has been named on standard error.
        if (!createTextures())
            return false;
    }
    return true;
}
