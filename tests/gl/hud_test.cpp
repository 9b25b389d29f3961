// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The HUD drawn into a real context: where each line lands and in which colour, the end screen,
// texts drawn literally, and filled text while the wireframe setting is on.
#include "gl_context.h"
#include "text_ink.h"

#include "actors/endgame.h"
#include "core/clock.h"
#include "core/settings.h"
#include "ui/gui.h"
#include "ui/quicktext.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using gltest::InkBounds;
using gltest::ndcToPixelX;
using gltest::ndcToPixelY;

bool yellow(int r, int g, int b) { return r > 60 && g > 60 && b < 20 && r - g < 20 && g - r < 20; }
bool white(int r, int g, int b) { return r > 60 && g > 60 && b > 60; }
bool cyan(int r, int g, int b) { return r < 20 && g > 60 && b > 60; }

class HudTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }

    static void reset()
    {
        gui.setText1("", 1, 1, 0);
        gui.setText2("", 1, 1, 1);
        gui.setText3("", 1, 1, 1);
        gui.text3Timer = 0;
        set_wireframe = false;
        set_endgame = false;
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }

    // The HUD as the frame draws it: after the scene, with some 3D projection still loaded.
    static std::vector<unsigned char> renderHud()
    {
        gltest::clearForText();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-0.66, 0.66, -0.5, 0.5, 3.0, 20000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gui.render();
        return gltest::readPixels();
    }

    // Expects the ink to cover the measured box of `text` drawn at (x, y) in normalised device
    // coordinates with `size`: the box's 1.5-unit margin and a pixel of edge shading apart.
    static void expectInkAt(const InkBounds& ink, double x, double y, double size, const std::string& text)
    {
        double box[4];
        glQuickText::stringBox(box, size, "%s", text.c_str());
        const double tolerance = 1.5 * size / 2 * gltest::WIDTH / 2 + 1.25;
        ASSERT_FALSE(ink.empty()) << text;
        EXPECT_NEAR(ink.minX, ndcToPixelX(x + box[0]), tolerance) << text;
        EXPECT_NEAR(ink.maxX + 1, ndcToPixelX(x + box[2]), tolerance) << text;
        EXPECT_NEAR(ink.minY, ndcToPixelY(y + box[1]), tolerance) << text;
        EXPECT_NEAR(ink.maxY + 1, ndcToPixelY(y + box[3]), tolerance) << text;
    }
};

} // namespace

TEST_F(HudTest, LinesLandInTheirCornersInTheirColours)
{
    gui.setText1("FPS: 60 ", 1, 1, 0);
    gui.setText2("87", 1, 1, 1);
    gui.setText3("mipmaps on", 0, 1, 1);
    const auto pixels = renderHud();

    const int half = gltest::WIDTH / 2;
    const int midY = gltest::HEIGHT / 2;
    expectInkAt(gltest::inkBounds(pixels, yellow, 0, midY, half, gltest::HEIGHT), -0.99, 0.95, 0.002, "FPS: 60 ");
    expectInkAt(gltest::inkBounds(pixels, white, 0, 0, half - 40, midY), -0.99, -0.98, 0.002, "87");
    expectInkAt(gltest::inkBounds(pixels, cyan, half - 40, 0, gltest::WIDTH, midY), -0.03, -0.98, 0.002,
                "mipmaps on");
    // The running seconds take the message's colour, just left of the top centre.
    expectInkAt(gltest::inkBounds(pixels, cyan, half - 40, midY, gltest::WIDTH, gltest::HEIGHT), -0.02, 0.95, 0.002,
                elapsedTime());

    // Nothing of the end screen while the game goes on.
    EXPECT_TRUE(gltest::inkBounds(pixels, gltest::anyInk, 0, 150, gltest::WIDTH, 500).empty());
}

TEST_F(HudTest, EndScreenShowsGameOverAndTheSurvivalLine)
{
    set_endgame = true;
    set_score = 83900.0;
    gui.setText3("", 1, 1, 1);
    const auto pixels = renderHud();
    // Both lines sit in the middle band of the window, in the message line's colour.
    const InkBounds title = gltest::inkBounds(pixels, white, 0, ndcToPixelY(0.16), gltest::WIDTH, 500);
    const InkBounds score = gltest::inkBounds(pixels, white, 0, 150, gltest::WIDTH, ndcToPixelY(0.16));
    expectInkAt(title, -0.25, 0.2, 0.005, "GAME OVER");
    expectInkAt(score, -0.27, 0.1, 0.003, endScore());
}

TEST_F(HudTest, SlotTextsAreDrawnLiterally)
{
    // Read as a format, "100%%d" would draw five characters; as data it draws six.
    gui.setText3("100%%d", 1, 1, 1);
    gui.setText2("%s%s%s%s%n", 1, 1, 1);
    const auto pixels = renderHud();
    expectInkAt(gltest::inkBounds(pixels, white, gltest::WIDTH / 2 - 40, 0, gltest::WIDTH, 60), -0.03, -0.98, 0.002,
                "100%%d");
    expectInkAt(gltest::inkBounds(pixels, white, 0, 0, gltest::WIDTH / 2 - 40, 60), -0.99, -0.98, 0.002,
                "%s%s%s%s%n");
}

TEST_F(HudTest, HudIsDrawnFilledWhileTheWireframeSettingIsOn)
{
    gui.setText2("100", 1, 1, 1);
    gui.setText3("wireframe on", 1, 1, 1);
    const InkBounds filled = gltest::inkBounds(renderHud(), white, 0, 0, gltest::WIDTH, 60);

    set_wireframe = true;
    gltest::clearForText();
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE); // as the frame leaves it for the scene
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gui.render();
    const InkBounds wire = gltest::inkBounds(gltest::readPixels(), white, 0, 0, gltest::WIDTH, 60);

    GLint mode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
    EXPECT_EQ(mode[1], GL_FILL);
    EXPECT_GT(filled.count, 100);
    EXPECT_EQ(wire.count, filled.count) << "the HUD text lost ink in wireframe mode";
    EXPECT_EQ(wire.minX, filled.minX);
    EXPECT_EQ(wire.maxX, filled.maxX);
}
