// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The two GLSL programs on a real driver: the shipped sources build without a word, a bad or
// missing source falls back to the fixed pipeline and says so, and the scene and snow programs
// light the picture the way the game needs (never black, never garbage).
#include "gl_context.h"

#include "core/settings.h"
#include "render/geometry.h"
#include "render/textures.h"
#include "world/game_object.h"
#include "world_textures.h"
#include "render/shader.h"
#include "platform/deep_stack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using gltest::Rgb;

std::string shipped(const char* base) { return std::string(GLACIMOR_SOURCE_DIR) + "/shader/" + base; }

// loadShader with both of its output streams captured.
struct Load {
    GLuint program;
    std::string out;
    std::string err;
};
Load loadCaptured(const std::string& base)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const GLuint program = loadShader(base);
    std::string out = testing::internal::GetCapturedStdout();
    std::string err = testing::internal::GetCapturedStderr();
    return {program, out, err};
}

GLint programParam(GLuint program, GLenum name)
{
    GLint value = -1;
    glGetProgramiv(program, name, &value);
    return value;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ShaderLoading : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("glacimor-shaders-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    void write(const std::string& name, const std::string& content)
    {
        std::ofstream(dir / name, std::ios::binary) << content;
    }
    std::string base(const char* name) const { return (dir / name).string(); }
};

TEST_F(ShaderLoading, ShippedProgramsLinkAndPrintNothing)
{
    for (const char* name : {"GM_partshader", "GM_shader"}) {
        SCOPED_TRACE(name);
        const Load load = loadCaptured(shipped(name));
        ASSERT_NE(load.program, 0u) << load.out << load.err;
        EXPECT_TRUE(glIsProgram(load.program));
        EXPECT_EQ(programParam(load.program, GL_LINK_STATUS), GL_TRUE);
        EXPECT_EQ(load.out, "");
        EXPECT_EQ(load.err, "");

        // One vertex and one fragment stage, each compiled.
        GLuint stages[4] = {};
        GLsizei count = 0;
        glGetAttachedShaders(load.program, 4, &count, stages);
        ASSERT_EQ(count, 2);
        GLint types[2] = {};
        for (int i = 0; i < 2; ++i) {
            GLint compiled = GL_FALSE;
            glGetShaderiv(stages[i], GL_COMPILE_STATUS, &compiled);
            EXPECT_EQ(compiled, GL_TRUE);
            glGetShaderiv(stages[i], GL_SHADER_TYPE, &types[i]);
        }
        EXPECT_EQ(types[0], GL_VERTEX_SHADER);
        EXPECT_EQ(types[1], GL_FRAGMENT_SHADER);
        // The game sets no uniform of its own: besides the built-in state only a texture
        // sampler may be active, and it reads unit 0 without being set.
        const GLint uniforms = programParam(load.program, GL_ACTIVE_UNIFORMS);
        for (GLint i = 0; i < uniforms; ++i) {
            char uniformName[128] = {};
            GLint size = 0;
            GLenum type = 0;
            glGetActiveUniform(load.program, static_cast<GLuint>(i), sizeof uniformName, nullptr, &size, &type,
                               uniformName);
            const bool builtIn = std::string(uniformName).rfind("gl_", 0) == 0;
            EXPECT_TRUE(builtIn || type == GL_SAMPLER_2D) << uniformName;
        }
        glDeleteProgram(load.program);
    }
}

TEST_F(ShaderLoading, BrokenSourceFallsBackToNoProgramAndNamesIt)
{
    write("broken.vs", readFile(shipped("GM_shader") + ".vs"));
    write("broken.fs", "#version 120\nvoid main()\n{\n    gl_FragColor = vec4(1.0) // no semicolon\n}\n");
    const Load load = loadCaptured(base("broken"));
    EXPECT_EQ(load.program, 0u);
    EXPECT_NE(load.err.find(base("broken")), std::string::npos) << load.err;
    EXPECT_EQ(load.err.find(".fs"), std::string::npos) << "the base is named, not a file: " << load.err;
    EXPECT_EQ(std::count(load.err.begin(), load.err.end(), '\n'), 1) << load.err;
    // The driver's compile log tells the developer what is wrong.
    EXPECT_FALSE(load.out.empty());
}

TEST_F(ShaderLoading, MissingSourcesFallBackToNoProgram)
{
    const Load none = loadCaptured(base("absent"));
    EXPECT_EQ(none.program, 0u);
    EXPECT_NE(none.err.find(base("absent")), std::string::npos) << none.err;

    // Only the vertex stage present: still no program.
    write("half.vs", readFile(shipped("GM_partshader") + ".vs"));
    const Load half = loadCaptured(base("half"));
    EXPECT_EQ(half.program, 0u);
    EXPECT_NE(half.err.find(base("half")), std::string::npos) << half.err;
}

TEST_F(ShaderLoading, SourceWithoutFinalLineBreakStillBuilds)
{
    // The closing brace is the last byte: a loader that drops it breaks the program.
    std::string vs = readFile(shipped("GM_partshader") + ".vs");
    std::string fs = readFile(shipped("GM_partshader") + ".fs");
    while (!vs.empty() && vs.back() == '\n')
        vs.pop_back();
    while (!fs.empty() && fs.back() == '\n')
        fs.pop_back();
    ASSERT_EQ(fs.back(), '}');
    write("tight.vs", vs);
    write("tight.fs", fs);
    const Load load = loadCaptured(base("tight"));
    EXPECT_NE(load.program, 0u) << load.out << load.err;
    EXPECT_EQ(load.out, "");
    glDeleteProgram(load.program);
}

TEST_F(ShaderLoading, SameBaseTwiceGivesTwoPrograms)
{
    const Load first = loadCaptured(shipped("GM_shader"));
    const Load second = loadCaptured(shipped("GM_shader"));
    ASSERT_NE(first.program, 0u);
    ASSERT_NE(second.program, 0u);
    EXPECT_NE(first.program, second.program);
    // Independent: deleting one leaves the other whole.
    glDeleteProgram(first.program);
    EXPECT_TRUE(glIsProgram(second.program));
    EXPECT_EQ(programParam(second.program, GL_LINK_STATUS), GL_TRUE);
    glDeleteProgram(second.program);
}

// --- What the programs draw -------------------------------------------------------------------

// The game's view: the camera on the projection matrix, the modelview left for objects.
void setView(double ex, double ey, double ez, double tx, double ty, double tz)
{
    glViewport(0, 0, gltest::WIDTH, gltest::HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = static_cast<double>(gltest::WIDTH) / gltest::HEIGHT;
    glFrustum(-aspect / 2, aspect / 2, -0.5, 0.5, 3.0, 20000.0);
    gluLookAt(ex, ey, ez, tx, ty, tz, 0, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Light 0 as the game hands it over: under the identity modelview, w = 0, white.
void setLight(float x, float y, float z)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float pos[4] = {x, y, z, 0.0f};
    const float white[4] = {1, 1, 1, 1};
    const float black[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, pos);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_SPECULAR, black);
}

int brightness(Rgb c) { return c.r + c.g + c.b; }

class ProgramPicture : public ::testing::Test {
protected:
    GLuint scene = 0;
    GLuint snow = 0;
    GLuint white = 0;

    void SetUp() override
    {
        scene = loadCaptured(shipped("GM_shader")).program;
        snow = loadCaptured(shipped("GM_partshader")).program;
        ASSERT_NE(scene, 0u);
        ASSERT_NE(snow, 0u);
        // A one-texel white texture, so the pictures show the light and the colour alone.
        glGenTextures(1, &white);
        glBindTexture(GL_TEXTURE_2D, white);
        const unsigned char texel[3] = {255, 255, 255};
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glClearColor(0, 0, 0, 0);
    }
    void TearDown() override
    {
        glUseProgram(0);
        glBindTexture(GL_TEXTURE_2D, 0);
        glDeleteTextures(1, &white);
        glDeleteProgram(scene);
        glDeleteProgram(snow);
    }

    // The ice floor at y = -1 as the skybox lays it, seen from the game's camera, lit from light.
    std::vector<unsigned char> drawFloor(float lightY, double r = 1, double g = 1, double b = 1,
                                         bool zeroNormal = false)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        setView(0, 36, 180, 0, 0, 0);
        setLight(0, lightY, 0);
        glUseProgram(scene);
        glBindTexture(GL_TEXTURE_2D, white);
        glColor3d(r, g, b);
        glNormal3d(0, zeroNormal ? 0 : 1, 0);
        glBegin(GL_QUADS);
        glTexCoord2d(0, 1);
        glVertex3d(-100, -1, 100);
        glTexCoord2d(1, 1);
        glVertex3d(100, -1, 100);
        glTexCoord2d(1, 0);
        glVertex3d(100, -1, -100);
        glTexCoord2d(0, 0);
        glVertex3d(-100, -1, -100);
        glEnd();
        glUseProgram(0);
        return gltest::readPixels();
    }
};

TEST_F(ProgramPicture, SceneIsBrightestUnderTheLampAndNeverBlack)
{
    const auto lit = drawFloor(20);
    const Rgb underLamp = gltest::pixelAt(lit, 400, 290);
    const Rgb farCorner = gltest::pixelAt(lit, 30, 250); // near the x = -100 edge
    const Rgb nearEdge = gltest::pixelAt(lit, 400, 5);   // the floor just ahead of the camera
    EXPECT_GT(brightness(underLamp), brightness(farCorner) + 60);
    EXPECT_GT(brightness(underLamp), brightness(nearEdge) + 60);
    EXPECT_GT(brightness(underLamp), 450);
    // Cold light: never warmer than it is blue.
    EXPECT_GE(underLamp.b, underLamp.r);
    // Away from the lamp the cold fill keeps the ice visible.
    EXPECT_GT(brightness(farCorner), 90);
    EXPECT_GT(brightness(nearEdge), 90);

    // Down lowers the lamp below the floor: the floor loses it but stays visible.
    const auto below = drawFloor(-50);
    const Rgb unlit = gltest::pixelAt(below, 400, 290);
    EXPECT_GT(brightness(unlit), 90);
    EXPECT_LT(brightness(unlit), brightness(underLamp) - 150);

    // The lamp far overhead (Up held a long time) still lights the floor under it.
    const auto high = drawFloor(400);
    EXPECT_GT(brightness(gltest::pixelAt(high, 400, 290)), brightness(unlit));
}

TEST_F(ProgramPicture, SceneKeepsTheVertexColourAndSurvivesAZeroNormal)
{
    // The cube sides are tinted through the vertex colour: a red side stays red.
    const Rgb red = gltest::pixelAt(drawFloor(20, 1, 0, 0), 400, 290);
    EXPECT_GT(red.r, 150);
    EXPECT_GT(red.r, 3 * red.g);
    EXPECT_GT(red.r, 2 * red.b);
    const Rgb green = gltest::pixelAt(drawFloor(20, 0, 1, 0), 400, 290);
    EXPECT_GT(green.g, 2 * green.r);

    // A surface without a normal is lit by some fallback, not turned black by NaN.
    const Rgb flat = gltest::pixelAt(drawFloor(20, 1, 1, 1, true), 400, 290);
    EXPECT_GT(brightness(flat), 90);
    // And the light exactly on the surface point does not break the picture either.
    const Rgb onLamp = gltest::pixelAt(drawFloor(-1), 400, 290);
    EXPECT_GT(brightness(onLamp), 90);
}

TEST_F(ProgramPicture, SnowProgramDrawsNearWhiteFlakes)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setView(0, 0, 5, 0, 0, 0);
    setLight(0, 20, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor3d(0.75, 0.75, 1.0);
    glUseProgram(snow);
    GM_GL_flake(0, 0, 0);
    glUseProgram(0);
    const auto shaded = gltest::readPixels();
    const Rgb flake = gltest::pixelAt(shaded, 400, 300);
    EXPECT_GT(flake.r, 200);
    EXPECT_GT(flake.g, 200);
    EXPECT_GT(flake.b, 200);
    EXPECT_GE(flake.b, flake.r); // a breath of blue
    EXPECT_EQ(brightness(gltest::pixelAt(shaded, 100, 300)), 0); // the flake is small

    // Brighter and whiter than the pale blue the fixed pipeline gives the same flake.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GM_GL_flake(0, 0, 0);
    const Rgb plain = gltest::pixelAt(gltest::readPixels(), 400, 300);
    EXPECT_GT(flake.r, plain.r + 15);
    EXPECT_LT(flake.b - flake.r, plain.b - plain.r);
}

} // namespace

// A frame caught in play (camera 40 behind the player in a corner of the plateau, an enemy just
// ahead of it): the enemy's right side is seen almost edge-on, and with the face texture filtered
// anisotropically and the game's 4x multisampling the software renderer spent 12 s on this one
// cube. It must draw like any other.
TEST_F(ProgramPicture, SideSeenEdgeOnDrawsWithoutStalling)
{
    ASSERT_TRUE(gltest::ensureWorldTextures());
    // The game's window has four samples a pixel; this context has one, so draw into a buffer
    // that has them.
    GLuint buffers[2] = {};
    GLuint frame = 0;
    glGenRenderbuffers(2, buffers);
    glBindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, 4, GL_RGBA8, gltest::WIDTH, gltest::HEIGHT);
    glBindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, 4, GL_DEPTH_COMPONENT24, gltest::WIDTH, gltest::HEIGHT);
    glGenFramebuffers(1, &frame);
    glBindFramebuffer(GL_FRAMEBUFFER, frame);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);
    ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));

    setTexMode(); // the start-up settings: linear, mipmapped, anisotropy 16
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setView(-102.19092510540248, 3.5499999999999976, 59.468825336899407, -97.905656030908972, 0,
            99.238618760541854);
    setLight(0, 20, 0);
    GameObject enemy(-98.243653759834714, 0, 95.379956606608744, 0.080667439654267981, 0,
                     0.99674107178325155);
    glUseProgram(scene);
    glFinish();
    const auto start = std::chrono::steady_clock::now();
    enemy.render();
    glFinish();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    glUseProgram(0);

    // Resolve the samples into the window's buffer to look at the cube.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, frame);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, gltest::WIDTH, gltest::HEIGHT, 0, 0, gltest::WIDTH, gltest::HEIGHT,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &frame);
    glDeleteRenderbuffers(2, buffers);

    EXPECT_LT(ms, 2000.0) << "one cube took " << ms << " ms";
    const Rgb middle = gltest::pixelAt(gltest::readPixels(), 396, 283);
    EXPECT_GT(brightness(middle), 60) << "no cube in the middle of the picture";
}

namespace {

std::string deepBase;
GLuint deepProgram = 0;
void loadDeep() { deepProgram = loadShader(deepBase); }

} // namespace

TEST_F(ShaderLoading, AnExpressionTooDeepForTheEntrysStackBuildsOnTheDeepStack)
{
    // One line summing 20,000 terms: the driver's compiler recurses once per term, which overflows
    // an 8 MiB stack (the whole test program would die of SIGSEGV).
    std::string sum = "x";
    for (int i = 1; i < 20000; ++i)
        sum += "+x";
    write("deep.vs", readFile(shipped("GM_shader") + ".vs"));
    // A source never built before: Mesa's shader cache would skip the compile of one it has seen.
    const std::string unseen = "// " + std::to_string(::getpid()) + " " +
                               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "\n";
    write("deep.fs", "#version 120\n" + unseen + "void main()\n{\n    float x = gl_FragCoord.x * 1e-9;\n" +
                         "    gl_FragColor = vec4(" + sum + ");\n}\n");
    Screen screen;
    screen.window = SDL_GL_GetCurrentWindow();
    screen.context = SDL_GL_GetCurrentContext();
    ASSERT_NE(screen.context, nullptr);
    deepBase = base("deep");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const std::size_t stack = runOnDeepStack(screen, loadDeep);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(stack, deepStackBytes());
    EXPECT_NE(deepProgram, 0u) << out << err;
    EXPECT_EQ(programParam(deepProgram, GL_LINK_STATUS), GL_TRUE);
    // The context is this thread's again, and works.
    EXPECT_EQ(SDL_GL_GetCurrentContext(), screen.context);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteProgram(deepProgram);
}
