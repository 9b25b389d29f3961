// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Drawing the snow: which flakes the culling setting lets through, and the programs the flake
// pass switches to and leaves behind.
#include "gl_context.h"

#include "core/clock.h"
#include "core/settings.h"
#include "render/shader.h"
#include "world/light.h"
#include "world/particles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

// Puts back every global the snow reads, so that other tests see the game's start-up state.
class SnowRender : public ::testing::Test {
protected:
    bool savedCulling = set_culling;
    bool savedShading = set_shading;
    double savedNormalizer = frameNormalizer;
    float savedLight[4] = {};
    unsigned savedShader = gm_shader;
    unsigned savedPshader = gm_pshader;

    void SetUp() override
    {
        savedCulling = set_culling;
        savedShading = set_shading;
        savedNormalizer = frameNormalizer;
        std::copy(light0.lightPos, light0.lightPos + 4, savedLight);
        savedShader = gm_shader;
        savedPshader = gm_pshader;
        frameNormalizer = 1;
        set_shading = false;
        glBindTexture(GL_TEXTURE_2D, 0);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glClearColor(0, 0, 0, 0);
        // The game's camera: 180 behind and 36 above a player at the origin, looking at it.
        glViewport(0, 0, gltest::WIDTH, gltest::HEIGHT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        const double aspect = static_cast<double>(gltest::WIDTH) / gltest::HEIGHT;
        glFrustum(-aspect / 2, aspect / 2, -0.5, 0.5, 3.0, 20000.0);
        gluLookAt(0, 36, 180, 0, 0, 0, 0, 1, 0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    void TearDown() override
    {
        set_culling = savedCulling;
        set_shading = savedShading;
        frameNormalizer = savedNormalizer;
        std::copy(savedLight, savedLight + 4, light0.lightPos);
        gm_shader = savedShader;
        gm_pshader = savedPshader;
        glUseProgram(0);
    }

    void placeLight(float x, float y, float z)
    {
        light0.lightPos[0] = x;
        light0.lightPos[1] = y;
        light0.lightPos[2] = z;
    }

    // Pixels that are not the clear colour.
    static long paintedPixels()
    {
        const auto pixels = gltest::readPixels();
        long count = 0;
        for (std::size_t i = 0; i < pixels.size(); i += 3)
            if (pixels[i] || pixels[i + 1] || pixels[i + 2])
                ++count;
        return count;
    }
};

// Flakes of the game's box within 57 units of the light, counted from the unit-box points.
long flakesNearLight(const Blizzard& snow)
{
    long count = 0;
    for (long i = 0; i < snow.particleCount; ++i) {
        const vec3& p = snow.particles[i];
        const double dx = light0.lightPos[0] - (p.x * 200 - 100);
        const double dy = light0.lightPos[1] - p.y * 200;
        const double dz = light0.lightPos[2] - (p.z * 200 - 100);
        if (std::sqrt(dx * dx + dy * dy + dz * dz) < 57.0)
            ++count;
    }
    return count;
}

TEST_F(SnowRender, CullingDrawsOnlyTheFlakesNearTheLight)
{
    std::srand(21);
    auto snow = std::make_unique<Blizzard>(0, 0, 0, 200, 200, 200, 8000);

    set_culling = true;
    placeLight(30, 20, -40);
    snow->render();
    const long near = flakesNearLight(*snow);
    EXPECT_EQ(flakesDrawn, near);
    // A 57-unit ball around a point 20 up holds a few hundred of the 8000 flakes.
    EXPECT_GT(near, 200);
    EXPECT_LT(near, 1200);

    // The light follows the player into a corner: other flakes, fewer of them.
    placeLight(95, 20, 95);
    snow->render();
    EXPECT_EQ(flakesDrawn, flakesNearLight(*snow));
    EXPECT_LT(flakesDrawn, near);

    set_culling = false;
    snow->render();
    EXPECT_EQ(flakesDrawn, 8000);
    // Wherever the light is.
    placeLight(5000, -300, 0);
    snow->render();
    EXPECT_EQ(flakesDrawn, 8000);
}

TEST_F(SnowRender, CulledFlakesReachNoPixel)
{
    std::srand(22);
    auto snow = std::make_unique<Blizzard>(0, 0, 0, 200, 200, 200, 8000);
    placeLight(0, 1000, 0); // far above the box: no flake is near it

    set_culling = true;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    snow->render();
    EXPECT_EQ(flakesDrawn, 0);
    EXPECT_EQ(paintedPixels(), 0);

    set_culling = false;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    snow->render();
    EXPECT_GT(paintedPixels(), 500);
}

TEST_F(SnowRender, FlakesOutsideTheBoxAreStillDrawn)
{
    auto snow = std::make_unique<Blizzard>(0, 0, 0, 200, 200, 200, 2);
    // Drifted past both walls: x = -0.05 and z = 1.05 lie 10 units beyond the box.
    snow->particles[0].set(-0.05, 0.5, 1.05);
    snow->particles[1].set(1.02, 0.1, -0.03);
    set_culling = false;
    snow->render();
    EXPECT_EQ(flakesDrawn, 2);

    // And culled only by their distance: the light right next to the first one.
    set_culling = true;
    const vec3 p = snow->worldPoint(0);
    placeLight(static_cast<float>(p.x), static_cast<float>(p.y + 10), static_cast<float>(p.z));
    snow->render();
    EXPECT_EQ(flakesDrawn, 1);
}

TEST_F(SnowRender, SnowUsesTheParticleProgramAndLeavesTheSceneProgram)
{
    gm_pshader = loadShader(std::string(GLACIMOR_SOURCE_DIR) + "/shader/GM_partshader");
    gm_shader = loadShader(std::string(GLACIMOR_SOURCE_DIR) + "/shader/GM_shader");
    ASSERT_NE(gm_pshader, 0u);
    ASSERT_NE(gm_shader, 0u);

    // One flake right in front of a close camera, so its colour shows which program drew it.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-4.0 / 6, 4.0 / 6, -0.5, 0.5, 3.0, 20000.0);
    gluLookAt(0, 100, 5, 0, 100, 0, 0, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    auto snow = std::make_unique<Blizzard>(0, 0, 0, 200, 200, 200, 1);
    set_culling = false;
    frameNormalizer = 0; // the flake holds still in the middle of the picture
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    GLint current = -1;
    set_shading = true;
    snow->particles[0].set(0.5, 0.5, 0.5); // at (0, 100, 0)
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    snow->render();
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, static_cast<GLint>(gm_shader));
    const gltest::Rgb shaded = gltest::pixelAt(gltest::readPixels(), 400, 300);

    set_shading = false;
    glUseProgram(gm_shader);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    snow->render();
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    const gltest::Rgb plain = gltest::pixelAt(gltest::readPixels(), 400, 300);

    // The fixed pipeline shows the pale blue colour; the snow program makes it near-white.
    EXPECT_NEAR(plain.r, 191, 3);
    EXPECT_NEAR(plain.b, 255, 3);
    EXPECT_GT(shaded.r, plain.r + 15);
    EXPECT_GT(shaded.g, 200);

    glUseProgram(0);
    glDeleteProgram(gm_pshader);
    glDeleteProgram(gm_shader);
}

} // namespace
