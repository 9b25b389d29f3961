// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Golden frames: fixed scenes of the game drawn by the game's own frame into an offscreen
// framebuffer with four samples a pixel (as the game's window has them), resolved, and compared
// with the reference pictures in tests/golden: the first frame of the process and the second.
// What proves that a change keeps the picture.
//
// The scenes are deterministic: the world reset (the snow placed from the generator's default
// state), the clock scripted, nothing updated between the frames. A pixel counts as changed when
// one of its channels is more than CHANNEL_TOLERANCE levels away from the reference (rounding in
// the shaders moves a few by one level); a scene passes while at most MAX_CHANGED_PIXELS pixels
// have changed. On a failure the picture drawn and a map of the changed pixels are written next
// to the test binary (golden-out/).
//
//   golden_tests            compare (make test runs it)
//   golden_tests_webgl      compare the same scenes drawn through the browser's GL flavour (make
//                           test runs it too; it never writes the references)
//   golden_tests --update   write the references again (make golden); look at every picture that
//                           changed, and say in the commit why it did
#include "scenes.h"

#include "core/settings.h"
#include "game/frame.h"
#include "platform/startup.h"
#include "render/gl.h"
#include "ui/gui.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#ifndef GLACIMOR_SOURCE_DIR
#define GLACIMOR_SOURCE_DIR "."
#endif
#ifndef GLACIMOR_GOLDEN_OUT
#define GLACIMOR_GOLDEN_OUT "golden-out"
#endif

namespace scenes {

// Test names and messages show the scene's name (found by gtest beside the scene's type).
void PrintTo(const GoldenScene& scene, std::ostream* out) { *out << scene.name; }

} // namespace scenes

namespace {

constexpr int WIDTH = 384; // 16:9, as the game's full screen on the test display
constexpr int HEIGHT = 216;
constexpr int SAMPLES = 4;
constexpr int CHANNEL_TOLERANCE = 3;
constexpr int MAX_CHANGED_PIXELS = 8;

// Built as golden_tests_webgl, the scenes are drawn through the browser's GL flavour and compared
// with the same references: the same picture to the same tolerance, but for wireframe. There the
// browser's flavour draws lines where the desktop's draws polygons' edges, and where an edge leaves
// the screen the driver clips the one and the other to endpoints a rounding apart: the long edges
// of the floor and walls land a pixel away over part of their length (390 pixels on llvmpipe). A
// fault of the wireframe itself (the quads' diagonals drawn, or the edges of faces turned away)
// adds thousands of pixels of lines.
#ifdef GLACIMOR_GOLDEN_WEBGL
constexpr bool GOLDEN_WEBGL = true; // the references are the desktop's: this build never writes them
int maxChangedPixels(const std::string& scene) { return scene == "wireframe" ? WIDTH * HEIGHT / 100 : MAX_CHANGED_PIXELS; }
#else
constexpr bool GOLDEN_WEBGL = false;
int maxChangedPixels(const std::string&) { return MAX_CHANGED_PIXELS; }
#endif

bool updating = false; // --update: write the references instead of comparing

// ---------------------------------------------------------------------------------------------
// Pictures: RGB bytes, top row first, stored as binary PPM (P6).

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

bool writePicture(const std::string& path, const Picture& picture)
{
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(picture.rgb.data()), static_cast<std::streamsize>(picture.rgb.size()));
    return static_cast<bool>(out);
}

// Reads a binary PPM with 8-bit channels; false when the file is missing or not one.
bool readPicture(const std::string& path, Picture& picture)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    if (!(in >> magic >> picture.width >> picture.height >> maxValue) || magic != "P6" || maxValue != 255 ||
        picture.width <= 0 || picture.height <= 0 || picture.width > 8192 || picture.height > 8192)
        return false;
    in.get(); // the one whitespace byte before the samples
    picture.rgb.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
    in.read(reinterpret_cast<char*>(picture.rgb.data()), static_cast<std::streamsize>(picture.rgb.size()));
    return in.gcount() == static_cast<std::streamsize>(picture.rgb.size());
}

struct Difference {
    int changed = 0;  // pixels with a channel more than CHANNEL_TOLERANCE away
    int largest = 0;  // the largest difference of a channel, in levels
    Picture map;      // the reference dimmed, changed pixels in red
};

Difference compare(const Picture& reference, const Picture& drawn)
{
    Difference d;
    d.map = reference;
    for (std::size_t i = 0; i < reference.rgb.size(); i += 3) {
        int worst = 0;
        for (std::size_t c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(reference.rgb[i + c] - drawn.rgb[i + c]));
        d.largest = std::max(d.largest, worst);
        const bool changed = worst > CHANNEL_TOLERANCE;
        d.changed += changed;
        for (std::size_t c = 0; c < 3; ++c)
            d.map.rgb[i + c] = changed ? (c == 0 ? 255 : 0) : static_cast<unsigned char>(reference.rgb[i + c] / 3);
    }
    return d;
}

// ---------------------------------------------------------------------------------------------
// The offscreen framebuffer: four samples a pixel with depth, resolved into a plain one to read.

class Offscreen {
public:
    Offscreen()
    {
        glGenRenderbuffers(3, buffers);
        glBindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, SAMPLES, GL_RGBA8, WIDTH, HEIGHT);
        glBindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, SAMPLES, GL_DEPTH_COMPONENT24, WIDTH, HEIGHT);
        glBindRenderbuffer(GL_RENDERBUFFER, buffers[2]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, WIDTH, HEIGHT);
        glGenFramebuffers(2, frames);
        glBindFramebuffer(GL_FRAMEBUFFER, frames[0]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);
        complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glGetIntegerv(GL_SAMPLES, &samples);
        glBindFramebuffer(GL_FRAMEBUFFER, frames[1]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[2]);
        complete = complete && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    ~Offscreen()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(2, frames);
        glDeleteRenderbuffers(3, buffers);
    }
    Offscreen(const Offscreen&) = delete;
    Offscreen& operator=(const Offscreen&) = delete;

    bool complete = false;
    GLint samples = 0;

    // Draws one frame of the game into the multisampled buffer and returns it resolved.
    Picture drawFrame()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, frames[0]);
        glViewport(0, 0, WIDTH, HEIGHT);
        renderFrame(static_cast<double>(WIDTH) / HEIGHT);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, frames[0]);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, frames[1]);
        glBlitFramebuffer(0, 0, WIDTH, HEIGHT, 0, 0, WIDTH, HEIGHT, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, frames[1]);
        std::vector<unsigned char> bottomUp(static_cast<std::size_t>(WIDTH) * HEIGHT * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
        glBindFramebuffer(GL_FRAMEBUFFER, 0);

        Picture picture{WIDTH, HEIGHT, std::vector<unsigned char>(bottomUp.size())};
        const std::size_t row = static_cast<std::size_t>(WIDTH) * 3;
        for (int y = 0; y < HEIGHT; ++y)
            std::memcpy(&picture.rgb[y * row], &bottomUp[(HEIGHT - 1 - y) * row], row);
        return picture;
    }

private:
    GLuint buffers[3] = {};
    GLuint frames[2] = {};
};

// ---------------------------------------------------------------------------------------------
// The scenes

using Scene = scenes::GoldenScene;


std::string referencePath(const std::string& name)
{
    return std::string(GLACIMOR_SOURCE_DIR) + "/tests/golden/" + name + ".ppm";
}

class GoldenFrame : public ::testing::TestWithParam<Scene> {
protected:
    // The scene's enemies and effects go with the world.
    void TearDown() override { scenes::resetScene(0); }
};

TEST_P(GoldenFrame, MatchesItsReference)
{
    const Scene& scene = GetParam();
    Offscreen target;
    ASSERT_TRUE(target.complete);
    ASSERT_EQ(target.samples, SAMPLES);

    // Pictures of an earlier failure would mislead.
    for (const char* frame : {"first", "second"})
        for (const char* suffix : {".ppm", "-changed.ppm"})
            std::filesystem::remove(std::string(GLACIMOR_GOLDEN_OUT) + "/" + scene.name + "-" + frame + suffix);

    scene.build();
    // The world stands still between frames. The first frame of the process must look like
    // every later one: nothing it draws may depend on state that only a drawn frame leaves.
    const Picture first = target.drawFrame();
    const Picture later = target.drawFrame();
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    const std::string reference = referencePath(scene.name);
    if (updating) {
        ASSERT_TRUE(writePicture(reference, later)) << reference;
        std::printf("golden: wrote %s\n", reference.c_str());
        return;
    }
    Picture expected;
    ASSERT_TRUE(readPicture(reference, expected)) << "no reference picture " << reference << " (make golden)";
    ASSERT_EQ(expected.width, WIDTH);
    ASSERT_EQ(expected.height, HEIGHT);

    for (const auto& [frame, drawn] : {std::make_pair("first", &first), std::make_pair("second", &later)}) {
        const Difference d = compare(expected, *drawn);
        if (d.changed <= maxChangedPixels(scene.name))
            continue;
        std::filesystem::create_directories(GLACIMOR_GOLDEN_OUT);
        const std::string base = std::string(GLACIMOR_GOLDEN_OUT) + "/" + scene.name + "-" + frame;
        writePicture(base + ".ppm", *drawn);
        writePicture(base + "-changed.ppm", d.map);
        ADD_FAILURE() << "the " << frame << " frame: " << d.changed << " pixels differ from " << reference
                      << " by more than " << CHANNEL_TOLERANCE << " levels (at most " << maxChangedPixels(scene.name)
                      << " may), up to " << d.largest << " levels; drawn: " << base
                      << ".ppm, changed pixels in red: " << base << "-changed.ppm";
    }
}

INSTANTIATE_TEST_SUITE_P(Scenes, GoldenFrame, ::testing::ValuesIn(scenes::GOLDEN_SCENES),
                         [](const ::testing::TestParamInfo<Scene>& info) { return std::string(info.param.name); });

// The comparison itself: it must see a change of a few pixels and forgive rounding.
TEST(GoldenCompare, CountsPixelsBeyondTheToleranceOnly)
{
    Picture a{4, 2, std::vector<unsigned char>(24, 100)};
    Picture b = a;
    b.rgb[0] = 100 + CHANNEL_TOLERANCE;     // pixel 0: within the tolerance
    b.rgb[4] = 100 - CHANNEL_TOLERANCE - 1; // pixel 1: one level beyond it
    b.rgb[23] = 0;                          // pixel 7: far off
    const Difference d = compare(a, b);
    EXPECT_EQ(d.changed, 2);
    EXPECT_EQ(d.largest, 100);
    EXPECT_EQ(d.map.rgb[3], 255) << "pixel 1 marked red";
    EXPECT_EQ(d.map.rgb[0], 100 / 3) << "pixel 0 dimmed";
}

class GLEnvironment : public ::testing::Environment {
public:
    // The game's own bring-up with its shaders and textures; the window itself is not drawn in.
    void SetUp() override
    {
        if (chdir(GLACIMOR_SOURCE_DIR) != 0) {
            std::fprintf(stderr, "golden: cannot enter %s\n", GLACIMOR_SOURCE_DIR);
            std::exit(1);
        }
        BringUp how;
        how.caption = "Glacimor golden frames";
        how.width = WIDTH;
        how.height = HEIGHT;
        how.multisample = false;
        // No SDL_Quit: LeakSanitizer must still be able to name the driver's allocations.
        how.quitAtExit = false;
        Screen screen;
        if (!bringUp(how, screen)) {
            std::fprintf(stderr, "golden: no GL context with the game's shaders and textures\n");
            std::exit(1);
        }
        scenes::installScriptedClock();
    }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--update" && !GOLDEN_WEBGL)
            updating = true;
        else {
            std::fprintf(stderr, "usage: golden_tests [gtest options] [--update]\n");
            return 2;
        }
    ::testing::AddGlobalTestEnvironment(new GLEnvironment);
    return RUN_ALL_TESTS();
}
