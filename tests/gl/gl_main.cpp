// Entry of the GL tests: opens the window and its context once, then runs every test in it.
#include "gl_context.h"

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

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GLEnvironment);
    return RUN_ALL_TESTS();
}
