// Glacimor's entry: brings up SDL and OpenGL, loads the shaders and textures, and runs
// the frame loop until the player quits with Escape or by closing the window.
#include "frame.h"
#include "render/gl.h"
#include "render/shader.h"
#include "render/textures.h"
#include "settings.h"
#include "startup.h"

#include <SDL.h>

#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* step, const char* reason)
{
    reportStartupFailure(step, reason);
    std::exit(1);
}

} // namespace

// Declared with arguments so that SDL's entry wrapper can take it over on Windows.
int main(int, char*[])
{
    bool running = true;

    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) < 0)
        fail("SDL_Init", SDL_GetError());
    std::atexit(SDL_Quit);

    requestGLAttributes(true);
    SDL_ShowCursor(SDL_DISABLE);
    SDL_WM_SetCaption("Glacimor", nullptr);
    SDL_Surface* screen = openVideoMode(set_fullscreen);
    if (!screen)
        fail("SDL_SetVideoMode", SDL_GetError());
    // A hidden pointer that stops at the screen's edge would stop the player turning: grab it,
    // so mouse motion is relative and unbounded.
    SDL_WM_GrabInput(SDL_GRAB_ON);

    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    const double aspect = static_cast<double>(info->current_w) / static_cast<double>(info->current_h);

    setFixedGLState();
    const GLenum glew = glewInit();
    if (glew != GLEW_OK)
        fail("glewInit", reinterpret_cast<const char*>(glewGetErrorString(glew)));

    gm_pshader = loadShader("shader/GM_partshader");
    gm_shader = loadShader("shader/GM_shader");
    if (!createTextures())
        std::exit(1);

    EventContext events{&running, screen};
    while (running) {
        beginFrame();
        pollEvents(events);
        updateFrame();
        renderFrame(aspect);
        SDL_GL_SwapBuffers();
    }
    return 0;
}
