// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The text renderer against a real context: the layout of stringBox, the font texture, the state
// each call leaves, and where the ink of a drawn text lands.
#include "gl_context.h"
#include "text_ink.h"

#include "ui/quicktext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using gltest::anyInk;
using gltest::InkBounds;

struct Box {
    double minX, minY, maxX, maxY;
};

Box boxOf(double size, const char* text)
{
    double b[4] = {0, 0, 0, 0};
    glQuickText::stringBox(b, size, "%s", text);
    return {b[0], b[1], b[2], b[3]};
}

void expectBox(const Box& actual, const Box& expected, const std::string& what)
{
    EXPECT_DOUBLE_EQ(actual.minX, expected.minX) << what;
    EXPECT_DOUBLE_EQ(actual.minY, expected.minY) << what;
    EXPECT_DOUBLE_EQ(actual.maxX, expected.maxX) << what;
    EXPECT_DOUBLE_EQ(actual.maxY, expected.maxY) << what;
}

// The box a single glyph covers with its pen at (penX, penY) and scale s, from its record.
Box glyphBox(unsigned char c, double s, double penX = 0, double penY = 0)
{
    const glQuickTextGlyph& g = *glQuickTextFontChars[c];
    const double left = -g.originX / 10000.0 * s + penX;
    const double bottom = -g.originY / 10000.0 * s + penY;
    return {left, bottom, left + g.width * s, bottom + g.height * s};
}

GLuint fontTexture()
{
    glQuickText::printfAt(0, 0, 0, 1, "%s", "");
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return static_cast<GLuint>(name);
}

int existingTextures()
{
    int n = 0;
    for (GLuint name = 1; name < 4096; ++name)
        n += glIsTexture(name) == GL_TRUE;
    return n;
}

InkBounds drawAndFindInk(double x, double y, double size, const char* text)
{
    gltest::clearForText();
    glColor3f(1, 1, 1);
    glQuickText::printfAt(x, y, 0, size, "%s", text);
    return gltest::inkBounds(gltest::readPixels(), anyInk);
}

} // namespace

TEST(QuickTextLayout, TextsWithoutGlyphsLeaveTheBoxEmpty)
{
    for (const char* text : {"", " ", "\n", "  \n \n   ", "{", "\t{\x80\xff"}) {
        const Box b = boxOf(2.0, text);
        EXPECT_EQ(b.minX, 1e29) << '"' << text << '"';
        EXPECT_EQ(b.minY, 1e29) << '"' << text << '"';
        EXPECT_EQ(b.maxX, -1e29) << '"' << text << '"';
        EXPECT_EQ(b.maxY, -1e29) << '"' << text << '"';
    }
}

TEST(QuickTextLayout, SingleGlyphBoxFollowsItsRecordAtHalfTheSize)
{
    const glQuickTextGlyph& a = *glQuickTextFontChars['A'];
    // Size 2 is scale 1: the box is the record's box placed by its origin.
    expectBox(boxOf(2.0, "A"),
              {-a.originX / 10000.0, -a.originY / 10000.0, -a.originX / 10000.0 + a.width,
               -a.originY / 10000.0 + a.height},
              "A at size 2");
    expectBox(boxOf(0.002, "g"), glyphBox('g', 0.001), "g at the HUD's size");
    expectBox(boxOf(2.0, "\xe9"), glyphBox(0xe9, 1.0), "Latin-1 e acute");
}

TEST(QuickTextLayout, PenStepsAndSkippedBytes)
{
    const double s = 1.5; // size 3
    // Every glyph and the space advance 24 units.
    expectBox(boxOf(3.0, " A"), glyphBox('A', s, 24 * s), "space then A");
    EXPECT_DOUBLE_EQ(boxOf(3.0, "!A").maxX, glyphBox('A', s, 24 * s).maxX) << "'!' advances like the others";
    // The second line starts at x = 0, 46 * s lower.
    expectBox(boxOf(3.0, "\nA"), glyphBox('A', s, 0, -46 * s), "newline then A");
    expectBox(boxOf(3.0, "AB\nA"),
              Box{glyphBox('A', s).minX, glyphBox('A', s, 0, -46 * s).minY, glyphBox('B', s, 24 * s).maxX,
                  std::max(glyphBox('A', s).maxY, glyphBox('B', s, 24 * s).maxY)},
              "two lines");
    // '{', a tab and high bytes without a record neither draw nor move the pen.
    const Box ab = boxOf(3.0, "AB");
    for (const char* text : {"A{B", "A\tB", "A\x80\x81\xff" "B", "{\t\x90" "AB"})
        expectBox(boxOf(3.0, text), {ab.minX, ab.minY, ab.maxX, ab.maxY}, text);
}

TEST(QuickTextLayout, FormatsLikePrintfAndReportsTheUnhalvedLineHeight)
{
    double formatted[4], literal[4];
    glQuickText::stringBox(formatted, 0.002, "FPS: %d %s", 60, "ok");
    glQuickText::stringBox(literal, 0.002, "%s", "FPS: 60 ok");
    for (int i = 0; i < 4; ++i)
        EXPECT_DOUBLE_EQ(formatted[i], literal[i]);

    EXPECT_DOUBLE_EQ(glQuickText::getFontHeight(1.0), 46.0);
    EXPECT_DOUBLE_EQ(glQuickText::getFontHeight(0.002), 0.092);
}

TEST(QuickTextTexture, FontTextureHoldsTheRasterAndIsMadeOnlyOnce)
{
    const GLuint tex = fontTexture();
    ASSERT_NE(tex, 0u);
    ASSERT_EQ(glIsTexture(tex), GL_TRUE);
    const int before = existingTextures();

    double box[4];
    for (int i = 0; i < 40; ++i) {
        glBindTexture(GL_TEXTURE_2D, 0);
        glQuickText::printfAt(0, 0, 0, 0.002, "call %d", i);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        ASSERT_EQ(static_cast<GLuint>(bound), tex) << "call " << i;
        glQuickText::stringBox(box, 1.0, "%d", i);
        glQuickText::getFontHeight(1.0);
    }
    EXPECT_EQ(existingTextures(), before) << "a later call created another texture";

    glBindTexture(GL_TEXTURE_2D, tex);
    // Unsized, as WebGL 1 takes it; the driver keeps 8 bits of each.
    EXPECT_EQ(gltest::levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_LUMINANCE_ALPHA);
    EXPECT_EQ(gltest::levelParameter(0, GL_TEXTURE_LUMINANCE_SIZE), 8);
    EXPECT_EQ(gltest::levelParameter(0, GL_TEXTURE_ALPHA_SIZE), 8);
    EXPECT_EQ(gltest::levelParameter(0, GL_TEXTURE_WIDTH), 256);
    EXPECT_EQ(gltest::levelParameter(0, GL_TEXTURE_HEIGHT), 256);
    EXPECT_EQ(gltest::levelParameter(1, GL_TEXTURE_WIDTH), 0) << "no mipmaps are built";

    // Luminance and alpha both carry the coverage, row 0 of the raster at t = 0.
    std::vector<unsigned char> image(2 * 256 * 256);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, image.data());
    int mismatches = 0;
    for (int i = 0; i < 256 * 256; ++i)
        mismatches += image[2 * i] != glQuickTextFontData[i] || image[2 * i + 1] != glQuickTextFontData[i];
    EXPECT_EQ(mismatches, 0);
}

TEST(QuickTextTexture, EveryDrawSetsTheTextStateAndLeavesThePixelStoreAlone)
{
    const GLuint tex = fontTexture();
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glMatrixMode(GL_MODELVIEW);
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);

    glPixelStorei(GL_PACK_ALIGNMENT, 2);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 17);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 3);

    glQuickText::printfAt(0, 0, 0, 0.002, "%s", ""); // an empty text still sets the state

    GLint value = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(static_cast<GLuint>(value), tex);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);

    glQuickText::printfAt(0, 0, 0, 0.002, "%s", "two\nlines");
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore) << "matrix pushes and pops balance";

    // The font's upload set the pixel store once, when the texture was made; drawing leaves
    // whatever the store holds now (here values no one else uses) as it is.
    glGetIntegerv(GL_PACK_ALIGNMENT, &value);
    EXPECT_EQ(value, 2);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
    EXPECT_EQ(value, 8);
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &value);
    EXPECT_EQ(value, 17);
    glGetIntegerv(GL_UNPACK_SKIP_PIXELS, &value);
    EXPECT_EQ(value, 3);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(QuickTextDrawing, InkLandsInsideTheMeasuredBoxAndNowhereElse)
{
    // One unit per pixel; size 3 draws 1.5 pixels per glyph unit.
    gltest::pixelSpace(1.0);
    const char* text = "GAME OVER\nsurvived: 83 sec. ";
    const InkBounds ink = drawAndFindInk(100, 400, 3.0, text);
    const Box box = boxOf(3.0, text);
    ASSERT_FALSE(ink.empty());
    // The boxes carry 1.5 units (2.25 pixels) of margin; the ink fills the rest.
    EXPECT_GE(ink.minX, 100 + box.minX);
    EXPECT_LE(ink.minX, 100 + box.minX + 5);
    EXPECT_LE(ink.maxX + 1, 100 + box.maxX);
    EXPECT_GE(ink.maxX + 1, 100 + box.maxX - 5);
    EXPECT_GE(ink.minY, 400 + box.minY);
    EXPECT_LE(ink.minY, 400 + box.minY + 5);
    EXPECT_LE(ink.maxY + 1, 400 + box.maxY);
    EXPECT_GE(ink.maxY + 1, 400 + box.maxY - 5);
    // A whole text, not a few stray pixels.
    EXPECT_GT(ink.count, 3000);
}

TEST(QuickTextDrawing, LinesStepHalfTheFontHeightAndCharactersHalfTheAdvance)
{
    // Four pixels per unit: at size 1.0 a line steps 23 units (92 px), a character 12 (48 px).
    gltest::pixelSpace(4.0);
    const InkBounds first = drawAndFindInk(20, 100, 1.0, "H");
    const InkBounds second = drawAndFindInk(20, 100, 1.0, "\nH");
    const InkBounds shifted = drawAndFindInk(20, 100, 1.0, " H");
    const InkBounds skipped = drawAndFindInk(20, 100, 1.0, "{\t\x80\xfeH");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(second.minX, first.minX);
    EXPECT_EQ(second.maxX, first.maxX);
    EXPECT_EQ(second.minY, first.minY - 92);
    EXPECT_EQ(second.maxY, first.maxY - 92);
    EXPECT_EQ(shifted.minX, first.minX + 48);
    EXPECT_EQ(shifted.minY, first.minY);
    EXPECT_EQ(skipped.minX, first.minX);
    EXPECT_EQ(skipped.maxX, first.maxX);
    EXPECT_EQ(skipped.count, first.count) << "skipped bytes drew something";
}

TEST(QuickTextDrawing, TextTakesTheCurrentColourThroughItsCoverage)
{
    gltest::pixelSpace(1.0);
    gltest::clearForText();
    glColor3f(1, 0, 0);
    glQuickText::printfAt(200, 200, 0, 6.0, "%s", "WM");
    const auto pixels = gltest::readPixels();
    const InkBounds red = gltest::inkBounds(pixels, [](int r, int g, int b) { return r > 200 && g < 10 && b < 10; });
    const InkBounds other = gltest::inkBounds(pixels, [](int, int g, int b) { return g > 10 || b > 10; });
    EXPECT_GT(red.count, 300) << "solid ink in the text's colour";
    EXPECT_EQ(other.count, 0) << "pixels of another colour";
    glColor3f(1, 1, 1);
}
