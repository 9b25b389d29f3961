// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Entry of the GL tests: opens the window and its context once, then runs every test in it.
#include "gl_context.h"

#include "core/settings.h"
#include "platform/startup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace gltest {

std::vector<unsigned char> readPixels()
{
    std::vector<unsigned char> pixels(WIDTH * HEIGHT * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

Rgb pixelAt(const std::vector<unsigned char>& pixels, int x, int y)
{
    const unsigned char* p = &pixels[(static_cast<std::size_t>(y) * WIDTH + x) * 3];
    return {p[0], p[1], p[2]};
}

} // namespace gltest

namespace {

class GLEnvironment : public ::testing::Environment {
public:
    // The game's own bring-up, in an 800 x 600 window without multisampling; the tests load
    // the shaders and textures they need themselves.
    void SetUp() override
    {
        BringUp how;
        how.caption = "Glacimor GL tests";
        how.multisample = false;
        how.loadAssets = false;
        // No SDL_Quit: it unloads the GL driver, and LeakSanitizer, which reports at exit, could
        // then no longer name the driver's allocations to match them against sanitizer/lsan.supp.
        how.quitAtExit = false;
        Screen screen;
        if (!bringUp(how, screen)) {
            std::fprintf(stderr, "GL tests: no GL context\n");
            std::exit(1);
        }
    }
    void TearDown() override {}
};

// Before every test, the GL state goes back to what the game's start-up leaves (its fixed state on a
// fresh context), whatever the test before changed: the tests run shuffled, and none may depend on
// another's leftovers. The game's settings go back to their defaults with it.
class GLBaseline : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override
    {
        restoreDefaultSettings();
        while (glGetError() != GL_NO_ERROR) {
        }
        glUseProgram(0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, 0);
        glViewport(0, 0, gltest::WIDTH, gltest::HEIGHT);
        for (GLenum mode : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
            glMatrixMode(mode);
            glLoadIdentity();
        }
        // Pixel store: OpenGL's defaults.
        for (GLenum alignment : {GL_PACK_ALIGNMENT, GL_UNPACK_ALIGNMENT})
            glPixelStorei(alignment, 4);
        for (GLenum zero : {GL_PACK_ROW_LENGTH, GL_PACK_SKIP_PIXELS, GL_PACK_SKIP_ROWS, GL_UNPACK_ROW_LENGTH,
                            GL_UNPACK_SKIP_PIXELS, GL_UNPACK_SKIP_ROWS})
            glPixelStorei(zero, 0);
        // Capabilities: the game's fixed state, everything else off.
        for (GLenum off : {GL_LIGHTING, GL_LIGHT0, GL_SCISSOR_TEST, GL_ALPHA_TEST, GL_STENCIL_TEST})
            glDisable(off);
        setFixedGLState();
        glDepthFunc(GL_LESS);
        glDepthMask(GL_TRUE);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glColor4f(1, 1, 1, 1);
        glClearColor(0, 0, 0, 0);
        glClearDepth(1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GLEnvironment);
    ::testing::UnitTest::GetInstance()->listeners().Append(new GLBaseline);
    return RUN_ALL_TESTS();
}
