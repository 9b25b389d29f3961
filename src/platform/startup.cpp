// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up of the window, the fixed GL state and the game's GL resources.
#include "platform/startup.h"

#include "core/clock.h"
#include "core/datafile.h"
#include "core/printable.h"
#include "core/settings.h"
#include "core/signals.h"
#include "platform/bmp_decoder.h"
#include "platform/deep_stack.h"
#include "platform/display.h"
#include "render/bmp.h"
#include "render/gl.h"
#include "render/glew_status.h"
#include "render/shader.h"
#include "render/textures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, multisample ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, multisample ? 4 : 0);
#ifdef __EMSCRIPTEN__
    // A browser's WebGL 1 is OpenGL ES 2.0; the multisampling asked for is the canvas's antialiasing.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
#endif
}

const char* openWindow(Screen& screen, const char* caption, bool fullscreen, CreateWindowFn createWindow, int width,
                       int height)
{
#ifdef __EMSCRIPTEN__
    // In a browser the window is the page's canvas, and it fills the page as the page is sized
    // (resizable: SDL follows the canvas's size on the page, times the screen's pixel ratio). A
    // browser goes full screen only at the player's own gesture, so the game starts filling the
    // page and F asks the browser for its full screen.
    fullscreen = false;
    const Uint32 pageSized = SDL_WINDOW_RESIZABLE;
#else
    const Uint32 pageSized = 0;
#endif
    // Full screen takes the desktop as it is, at its resolution, without changing the display's mode;
    // the size asked for is also the window's when F takes it out of full screen.
    SDL_DisplayMode desktop{};
    if (fullscreen && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        width = desktop.w;
        height = desktop.h;
    }
    // On a scaled desktop the drawable has the screen's full pixel size, not the window's size.
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI | pageSized |
                         (fullscreen ? Uint32{SDL_WINDOW_FULLSCREEN_DESKTOP} : 0u);
    const char* failed = nullptr;
    const auto open = [&]() {
        screen.window = createWindow(caption, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height, flags);
        if (!screen.window) {
            failed = "SDL_CreateWindow";
            return false;
        }
        screen.context = SDL_GL_CreateContext(screen.window);
        if (!screen.context) {
            failed = "SDL_GL_CreateContext";
            SDL_DestroyWindow(screen.window);
            screen.window = nullptr;
            return false;
        }
        return true;
    };
    if (!open()) {
        // Many drivers (remote desktops, some virtual machines) offer no multisampled visual.
        requestGLAttributes(false);
        if (!open())
            return failed;
    }
    // The swap interval belongs to the context, so it is set once the context is current.
    SDL_GL_SetSwapInterval(set_vsync ? 1 : 0);
    return nullptr;
}

void fitViewport(Screen& screen)
{
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(screen.window, &width, &height);
    if (width == screen.drawableWidth && height == screen.drawableHeight)
        return;
    screen.drawableWidth = width;
    screen.drawableHeight = height;
    glViewport(0, 0, width, height);
}

void setFixedGLState()
{
    glEnable(GL_DEPTH_TEST);
    enableFixedPipeline();
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
    // The reason is the driver's or the system's text: a line break or a control byte in it must
    // neither split the one line nor reach the terminal.
    std::fprintf(stderr, "glacimor: %s failed: %s\n", step, printableLine(reason ? reason : "").c_str());
}

bool bringUp(const BringUp& how, Screen& screen)
{
    // Before any window or driver: started from the wrong folder, this is all the player sees.
    startUpStage("looking for the game's data");
    if (how.loadAssets && !findGameData())
        return false;
    startUpStage("starting SDL and connecting to the display");
    watchDisplayConnection();
    HeldStandardError connecting;
    const bool started = SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) == 0;
    const std::string said = connecting.release();
    // Without a display SDL falls back on drivers that show nothing; the game would play unseen
    // and never end. Only when asked for by name (SDL_VIDEODRIVER) are they meant.
    const char* driver = started ? SDL_GetCurrentVideoDriver() : nullptr;
    const bool unseen = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    const bool noDisplay = !started || (unseen && !SDL_GetHint(SDL_HINT_VIDEODRIVER));
    if (noDisplay) {
        // A display that is there but refuses the game is said as that, on the one line, in place
        // of what the libraries said on their own while SDL tried it and the others.
        const std::string refusal = displayRefusal();
        if (refusal.empty())
            std::fputs(said.c_str(), stderr);
        const std::string why = started ? "no display found (neither DISPLAY nor WAYLAND_DISPLAY leads to one)"
                                        : SDL_GetError();
        if (started)
            SDL_Quit();
        return fail("SDL_Init", refusal.empty() ? why.c_str() : refusal.c_str());
    }
    std::fputs(said.c_str(), stderr);
    if (how.quitAtExit)
        std::atexit(SDL_Quit);
    // The game's time counts from SDL_Init, and SDL decodes its textures' files.
    setTickSource(sdlTicks);
    setBmpDecoder(decodeBmpWithSdl);

    startUpStage("opening the window and its OpenGL context");
    requestGLAttributes(how.multisample);
    if (how.capturePointer)
        SDL_ShowCursor(SDL_DISABLE);
    if (const char* failed = openWindow(screen, how.caption, how.fullscreen, SDL_CreateWindow, how.width, how.height))
        return fail(failed, SDL_GetError());
    watchDisplayConnection();
    // The game reads keys, never text: without this SDL 2 would also run every key through the
    // system's text input (and its input method).
    SDL_StopTextInput();
    // A hidden pointer that stops at the screen's edge would stop the player turning: grab it in
    // relative mode, so mouse motion is relative and unbounded.
    if (how.capturePointer)
        SDL_SetRelativeMouseMode(SDL_TRUE);

    fitViewport(screen);
    screen.aspect = screen.drawableHeight > 0
                        ? static_cast<double>(screen.drawableWidth) / static_cast<double>(screen.drawableHeight)
                        : 1.0;

    startUpStage("setting up OpenGL");
    setFixedGLState();
    const GLenum glew = glewInit();
    const std::string glewFault = glewStartupFault(glew);
    if (!glewFault.empty())
        return fail("glewInit", glewFault.c_str());

    if (how.loadAssets) {
        // The compiler's recursion must not overflow the entry's stack (platform/deep_stack.h).
        runOnDeepStack(screen, loadShaderPrograms);
        startUpStage("loading the textures");
        // A texture that cannot be used has been named on standard error.
        if (!createTextures())
            return false;
    }
    return true;
}
