// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The cube model and the skybox, drawn into the test window the way a frame draws them and
// judged by the pixels that come back, plus the light's hand-over to OpenGL.
#include "gl_context.h"
#include "world_textures.h"

#include "render/geometry.h"
#include "render/pipeline.h"
#include "render/textures.h"
#include "world/cube.h"
#include "world/camera.h"
#include "world/game_object.h"
#include "world/light.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using gltest::HEIGHT;
using gltest::Rgb;
using gltest::WIDTH;

// The frame's view set-up: the camera on the projection matrix, identity modelview,
// the fixed pipeline, a black cleared screen.
void beginView(const Camera& eye)
{
    glViewport(0, 0, WIDTH, HEIGHT);
    glUseProgram(0);
    glEnable(GL_CULL_FACE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const float halfWidth = static_cast<float>(WIDTH) / HEIGHT / 2;
    loadProjection(lookedAt(frustumMatrix(-halfWidth, halfWidth, -0.5f, 0.5f, 3, 20000), eye.pos, eye.target, eye.up));
    loadModelview(Matrix4());
}

// Channel sums over a square of pixels around (cx, cy), so a face's dark features do not decide.
Rgb regionSum(const std::vector<unsigned char>& pixels, int cx, int cy, int half)
{
    Rgb sum{0, 0, 0};
    for (int y = cy - half; y <= cy + half; ++y)
        for (int x = cx - half; x <= cx + half; ++x) {
            const Rgb p = gltest::pixelAt(pixels, x, y);
            sum.r += p.r;
            sum.g += p.g;
            sum.b += p.b;
        }
    return sum;
}

bool isBlack(Rgb p) { return p.r + p.g + p.b < 6; }

// Counts black pixels in the rows [y0, y1] across the whole width.
int blackPixelsInRows(const std::vector<unsigned char>& pixels, int y0, int y1)
{
    int count = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = 0; x < WIDTH; ++x)
            count += isBlack(gltest::pixelAt(pixels, x, y));
    return count;
}

// Which side of a figure at the origin a camera on its +Z side sees, after turning it.
Rgb sideSeenAfterTurn(double angle)
{
    GameObject figure(0, 0, 0, 0, 0, -1);
    figure.rotate(angle);
    beginView(Camera(0, 0, 10, 0, 0, 0));
    figure.render();
    return regionSum(gltest::readPixels(), WIDTH / 2, HEIGHT / 2, 20);
}

// The skybox seen from camera `eye`, as read back.
std::vector<unsigned char> skyboxFrom(const Camera& eye)
{
    beginView(eye);
    GM_GL_skybox();
    return gltest::readPixels();
}

} // namespace

TEST(CubeModel, EachSideFacesItsWayWithItsColour)
{
    ASSERT_TRUE(gltest::ensureWorldTextures());
    // Facing -Z, the figure turns its green back to a camera on +Z; turned around, its red front.
    const Rgb back = sideSeenAfterTurn(0);
    EXPECT_GT(back.g, 3 * (back.r + back.b) + 1000) << back.r << " " << back.g << " " << back.b;
    const Rgb front = sideSeenAfterTurn(180);
    EXPECT_GT(front.r, 3 * (front.g + front.b) + 1000) << front.r << " " << front.g << " " << front.b;
    // Turned left (counterclockwise from above) it shows its white left side; turned right, its blue right side.
    const Rgb left = sideSeenAfterTurn(90);
    EXPECT_GT(std::min(left.r, std::min(left.g, left.b)), 41 * 41 * 150) << left.r << " " << left.g << " " << left.b;
    const Rgb right = sideSeenAfterTurn(-90);
    EXPECT_GT(right.b, 3 * (right.r + right.g) + 1000) << right.r << " " << right.g << " " << right.b;
}

TEST(CubeModel, DeadFiguresWearTheSecondFace)
{
    ASSERT_TRUE(gltest::ensureWorldTextures());
    GameObject figure(0, 0, 0, 0, 0, -1);
    figure.rotate(90); // the white side, which shows the texture untinted
    const auto faceSeen = [&figure]() {
        beginView(Camera(0, 0, 10, 0, 0, 0));
        figure.render();
        return gltest::readPixels();
    };
    const std::vector<unsigned char> alive = faceSeen();
    figure.state = STATE_STUNNED;
    EXPECT_TRUE(faceSeen() == alive) << "a stunned figure keeps the living face";
    figure.state = STATE_DEAD;
    const std::vector<unsigned char> dead = faceSeen();
    EXPECT_FALSE(dead == alive);
    // The dead face is the cold one: over the face, blue outweighs red.
    const Rgb d = regionSum(dead, WIDTH / 2, HEIGHT / 2, 60);
    const Rgb a = regionSum(alive, WIDTH / 2, HEIGHT / 2, 60);
    EXPECT_GT(d.b - d.r, a.b - a.r);
}

TEST(CubeModel, TopShowsOneUniformGreyTexel)
{
    ASSERT_TRUE(gltest::ensureWorldTextures());
    GameObject figure(0, 0, 0, 0, 0, -1);
    // From high above and a little behind, the top fills the middle of the picture.
    beginView(Camera(0, 12, 0.5, 0, 0, 0));
    figure.render();
    const std::vector<unsigned char> pixels = gltest::readPixels();
    const Rgb centre = gltest::pixelAt(pixels, WIDTH / 2, HEIGHT / 2);
    EXPECT_GT(centre.r + centre.g + centre.b, 3 * 100) << "the corner of the face is light";
    for (int y = HEIGHT / 2 - 30; y <= HEIGHT / 2 + 30; y += 6)
        for (int x = WIDTH / 2 - 30; x <= WIDTH / 2 + 30; x += 6) {
            const Rgb p = gltest::pixelAt(pixels, x, y);
            EXPECT_NEAR(p.r, centre.r, 2);
            EXPECT_NEAR(p.g, centre.g, 2);
            EXPECT_NEAR(p.b, centre.b, 2);
        }
    // The cube leaves the grey and the last texture coordinate current.
    GLfloat colour[4], texCoord[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);
    EXPECT_NEAR(colour[0], 0.8, 1e-3);
    EXPECT_NEAR(colour[2], 0.8, 1e-3);
    EXPECT_FLOAT_EQ(texCoord[0], 1);
    EXPECT_FLOAT_EQ(texCoord[1], 1);
}

TEST(Skybox, EveryFaceIsSeenFromInside)
{
    ASSERT_TRUE(gltest::ensureWorldTextures());
    struct View {
        const char* name;
        double tx, ty, tz;
        double ux, uy, uz;
    };
    const View views[] = {
        {"+X", 1, 0, 0, 0, 1, 0},  {"-X", -1, 0, 0, 0, 1, 0}, {"+Z", 0, 0, 1, 0, 1, 0},
        {"-Z", 0, 0, -1, 0, 1, 0}, {"up", 0, 1, 0, 0, 0, -1}, {"down", 0, -1, 0, 0, 0, -1},
    };
    for (const View& v : views) {
        SCOPED_TRACE(v.name);
        Camera eye(0, 98, 0, v.tx, 98 + v.ty, v.tz);
        eye.up = vec3(v.ux, v.uy, v.uz);
        const std::vector<unsigned char> pixels = skyboxFrom(eye);
        EXPECT_EQ(blackPixelsInRows(pixels, 0, HEIGHT - 1), 0);
    }
    // The floor wears the ice and the walls the wall texture: seen from the middle, both are bluish.
    Camera down(0, 98, 0, 0, 0, 0);
    down.up = vec3(0, 0, -1);
    const Rgb floor = regionSum(skyboxFrom(down), WIDTH / 2, HEIGHT / 2, 50);
    EXPECT_GT(floor.b, floor.r);

    // The skybox leaves identity, the ice bound, white, the shared normal and the last texture coordinate.
    GLfloat modelview[16], colour[4], normal[4], texCoord[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(modelview[i], i % 5 == 0 ? 1 : 0);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<unsigned>(bound), textureList[TEX_ICEGROUND]);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);
    EXPECT_FLOAT_EQ(colour[0] + colour[1] + colour[2], 3);
    EXPECT_FLOAT_EQ(normal[2], -1);
    EXPECT_FLOAT_EQ(texCoord[0], 1);
    EXPECT_FLOAT_EQ(texCoord[1], 0);
}

TEST(Skybox, FloorAndCeilingSitAtMinusOneAndOneNinetyNine)
{
    ASSERT_TRUE(gltest::ensureWorldTextures());
    // Looking level along -Z from z = 90, the rows 5 to 15 below the horizon meet a floor at
    // y = -1 between 4 and 12 units ahead when the eye is 0.1 above it; from 0.1 below, the
    // floor is seen from underneath (culled) and nothing lies below the eye.
    const auto levelView = [](double y, double x) { return skyboxFrom(Camera(x, y, 90, x, y, -100)); };
    const int horizon = HEIGHT / 2;
    for (double x : {0.0, -60.0, 60.0}) {
        SCOPED_TRACE(testing::Message() << "x = " << x);
        EXPECT_EQ(blackPixelsInRows(levelView(-0.9, x), horizon - 15, horizon - 5), 0);
        EXPECT_EQ(blackPixelsInRows(levelView(-1.1, x), horizon - 15, horizon - 5), WIDTH * 11);
        EXPECT_EQ(blackPixelsInRows(levelView(198.9, x), horizon + 5, horizon + 15), 0);
        EXPECT_EQ(blackPixelsInRows(levelView(199.1, x), horizon + 5, horizon + 15), WIDTH * 11);
    }
}

TEST(SceneLight, HandsItsColoursAndPositionToOpenGL)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotated(90, 0, 1, 0); // the light must not inherit a leftover turn
    {
        Light lamp(3, 4, 5, GL_LIGHT3);
        EXPECT_TRUE(glIsEnabled(GL_LIGHT3));
        ASSERT_FALSE(lightList.empty());
        EXPECT_EQ(lightList.back(), &lamp);
        lamp.lightPos[1] = 40; // the frame loop moves lightPos, not pos
        lamp.render();
        GLfloat position[4], diffuse[4], ambient[4];
        glGetLightfv(GL_LIGHT3, GL_POSITION, position);
        glGetLightfv(GL_LIGHT3, GL_DIFFUSE, diffuse);
        glGetLightfv(GL_LIGHT3, GL_AMBIENT, ambient);
        EXPECT_FLOAT_EQ(position[0], 3);
        EXPECT_FLOAT_EQ(position[1], 40);
        EXPECT_FLOAT_EQ(position[2], 5);
        EXPECT_FLOAT_EQ(position[3], 0);
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(diffuse[i], 1);
        EXPECT_FLOAT_EQ(ambient[0] + ambient[1] + ambient[2], 0);
    }
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
    ASSERT_FALSE(lightList.empty());
    EXPECT_EQ(lightList.back(), &light0) << "the lamp left the list with its scope";
}
