// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The GL state of start-up and of each frame's switches, read back from a real context, the
// video mode's fallback when the driver refuses multisampling, and what the game's bring-up asks
// of the window: double buffering, the swap interval of set_vsync, the hidden and grabbed pointer.
#include "gl_context.h"

#include "core/settings.h"
#include "game/frame.h"
#include "platform/startup.h"
#include "render/shader.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>

TEST(StartupState, FixedStateHoldsAfterStartup)
{
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    GLint cull = 0;
    glGetIntegerv(GL_CULL_FACE_MODE, &cull);
    EXPECT_EQ(cull, GL_BACK);
    // Set once here, so that the first frame blends as every later one.
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
}

namespace {

GLint currentProgram()
{
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

GLint polygonMode()
{
    GLint mode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], mode[1]) << "front and back are switched together";
    return mode[0];
}

} // namespace

// Wireframe and shading reach GL at the start of every frame's drawing; blending is off for the
// opaque world and follows its setting from the snow on.
TEST(StartupState, FrameSwitchesFollowTheSettings)
{
    const unsigned savedShader = gm_shader;
    gm_shader = loadShader(std::string(GLACIMOR_SOURCE_DIR) + "/shader/GM_shader");
    ASSERT_NE(gm_shader, 0u);

    set_wireframe = true;
    set_alpha = false;
    set_shading = false;
    glUseProgram(gm_shader);
    beginScene(4.0 / 3.0);
    EXPECT_EQ(polygonMode(), GL_LINE);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(currentProgram(), 0);
    beginBlending();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    set_wireframe = false;
    set_alpha = true;
    set_shading = true;
    beginScene(4.0 / 3.0);
    EXPECT_EQ(polygonMode(), GL_FILL);
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "the opaque world is drawn without blending";
    EXPECT_EQ(currentProgram(), static_cast<GLint>(gm_shader));
    beginBlending();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));

    // The HUD leaves the scene program selected, whatever shading says.
    set_shading = false;
    drawHud();
    EXPECT_EQ(currentProgram(), static_cast<GLint>(gm_shader));

    glUseProgram(0);
    glDeleteProgram(gm_shader);
    gm_shader = savedShader;
    restoreDefaultSettings();
}

namespace {

int windowCalls = 0;

// A driver that refuses the first window it is asked for, then opens what it is asked.
SDL_Window* refuseFirstWindow(const char* title, int x, int y, int width, int height, Uint32 flags)
{
    return ++windowCalls == 1 ? nullptr : SDL_CreateWindow(title, x, y, width, height, flags);
}

// Opens a fresh window through the seam in a child process and reports its sample count
// through the exit status; _exit skips the exit-time checks that belong to the parent.
[[noreturn]] void openAndReportSamples(CreateWindowFn createWindow)
{
    requestGLAttributes(true);
    Screen screen;
    const bool opened = openWindow(screen, "Glacimor", false, createWindow) == nullptr;
    GLint samples = -1;
    if (opened)
        glGetIntegerv(GL_SAMPLES, &samples);
    _exit(opened ? 10 + samples : 1);
}

} // namespace

// The display here grants 4x multisampling; a driver that refuses it gets a second request
// without it, and the game opens a window all the same.
TEST(VideoModeDeathTest, RefusedMultisamplingIsAskedAgainWithout)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(openAndReportSamples(SDL_CreateWindow), testing::ExitedWithCode(14), "");
    EXPECT_EXIT(openAndReportSamples(refuseFirstWindow), testing::ExitedWithCode(10), "");
}

namespace {

// The game's own bring-up in a fresh window, in a child process; reports on standard error what
// the context and the pointer got.
[[noreturn]] void bringUpAndReport()
{
    BringUp how;
    how.capturePointer = true;
    how.loadAssets = false;
    how.quitAtExit = false;
    Screen screen;
    if (!bringUp(how, screen))
        _exit(1);
    int doubleBuffer = -1;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffer);
    const int swapInterval = SDL_GL_GetSwapInterval();
    const bool hidden = SDL_ShowCursor(SDL_QUERY) == SDL_DISABLE;
    const bool relative = SDL_GetRelativeMouseMode() == SDL_TRUE;
    std::fprintf(stderr, "double buffer %d, swap interval %d, cursor %s, mouse %s\n", doubleBuffer, swapInterval,
                 hidden ? "hidden" : "shown", relative ? "grabbed in relative mode" : "free");
    _exit(0);
}

} // namespace

// The game plays in a double-buffered context without vertical sync (set_vsync off), with the
// pointer hidden and grabbed, so that the mouse turns the player without bound.
TEST(BringUpDeathTest, DoubleBufferedWithoutVsyncAndThePointerCaptured)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(bringUpAndReport(), testing::ExitedWithCode(0),
                "double buffer 1, swap interval 0, cursor hidden, mouse grabbed in relative mode");
}
