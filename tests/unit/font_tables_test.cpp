// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The built-in font tables: which bytes have glyphs, where their boxes lie in the raster, and
// that every box holds ink surrounded by a clear margin, with the baseline and cell where the
// layout expects them.
#include "ui/quicktext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

const std::set<int>& drawableCodes()
{
    static const std::set<int> codes = [] {
        std::set<int> c;
        for (int code = 33; code <= 122; ++code)
            c.insert(code);
        for (int code : {124, 125, 126, 199, 212, 224, 225, 226, 231, 232, 233, 234, 239, 244, 249, 251})
            c.insert(code);
        return c;
    }();
    return codes;
}

const glQuickTextGlyph& glyph(unsigned char code)
{
    const glQuickTextGlyph* g = glQuickTextFontChars[code];
    if (!g)
        ADD_FAILURE() << "no glyph for code " << int(code);
    static const glQuickTextGlyph none{};
    return g ? *g : none;
}

int texel(int col, int row) { return glQuickTextFontData[row * 256 + col]; }

// Ink bounds of a glyph in glyph units relative to the pen, taking the margin off the box.
struct InkBox {
    double left, bottom, right, top;
};
InkBox inkBox(const glQuickTextGlyph& g)
{
    const double left = -g.originX / 10000.0;
    const double bottom = -g.originY / 10000.0;
    return {left + 1.5, bottom + 1.5, left + g.width - 1.5, bottom + g.height - 1.5};
}

// Number of texels with clear ink (coverage above half) in one raster row of a glyph's box.
int inkInRow(const glQuickTextGlyph& g, int row)
{
    int n = 0;
    for (int col = g.texX; col < g.texX + g.width; ++col)
        n += texel(col, row) > 128;
    return n;
}

} // namespace

TEST(FontTables, ExactlyTheDrawableBytesHaveRecords)
{
    std::set<const glQuickTextGlyph*> distinct;
    for (int code = 0; code < 256; ++code) {
        const bool drawable = drawableCodes().count(code) != 0;
        EXPECT_EQ(glQuickTextFontChars[code] != nullptr, drawable) << "code " << code;
        if (glQuickTextFontChars[code])
            distinct.insert(glQuickTextFontChars[code]);
    }
    EXPECT_EQ(distinct.size(), 106u) << "every drawable byte has its own record";
    // The layout handles these itself; a record for them would draw a box.
    EXPECT_EQ(glQuickTextFontChars[' '], nullptr);
    EXPECT_EQ(glQuickTextFontChars['\n'], nullptr);
    EXPECT_EQ(glQuickTextFontChars['{'], nullptr);
}

TEST(FontTables, BoxesLieInsideTheRasterWithoutOverlapAndShareTheMetrics)
{
    std::vector<const glQuickTextGlyph*> all;
    for (int code : drawableCodes()) {
        const glQuickTextGlyph& g = glyph(static_cast<unsigned char>(code));
        all.push_back(&g);
        EXPECT_EQ(g.advance, 24) << "code " << code;
        EXPECT_EQ(g.texSize, 256) << "code " << code;
        EXPECT_GT(g.width, 3) << "code " << code;
        EXPECT_GT(g.height, 3) << "code " << code;
        EXPECT_GE(g.texX, 0) << "code " << code;
        EXPECT_GE(g.texY, 0) << "code " << code;
        EXPECT_LE(g.texX + g.width, 256) << "code " << code;
        EXPECT_LE(g.texY + g.height, 256) << "code " << code;
    }
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            const glQuickTextGlyph& a = *all[i];
            const glQuickTextGlyph& b = *all[j];
            const bool apart = a.texX + a.width <= b.texX || b.texX + b.width <= a.texX ||
                               a.texY + a.height <= b.texY || b.texY + b.height <= a.texY;
            EXPECT_TRUE(apart) << "boxes " << i << " and " << j << " overlap";
        }
}

TEST(FontTables, EveryBoxHoldsInkWithinAClearBorderAndNothingLiesOutsideTheBoxes)
{
    std::vector<bool> covered(256 * 256, false);
    for (int code : drawableCodes()) {
        const glQuickTextGlyph& g = glyph(static_cast<unsigned char>(code));
        int peak = 0;
        int border = 0;
        for (int row = g.texY; row < g.texY + g.height; ++row)
            for (int col = g.texX; col < g.texX + g.width; ++col) {
                covered[row * 256 + col] = true;
                peak = std::max(peak, texel(col, row));
                const bool edge = row == g.texY || row == g.texY + g.height - 1 || col == g.texX ||
                                  col == g.texX + g.width - 1;
                if (edge)
                    border = std::max(border, texel(col, row));
            }
        EXPECT_GE(peak, 200) << "code " << code << " has no solid ink";
        EXPECT_LE(border, 8) << "code " << code << " has ink on its box's border";
    }
    int stray = 0;
    for (int i = 0; i < 256 * 256; ++i)
        stray += !covered[i] && glQuickTextFontData[i] != 0;
    EXPECT_EQ(stray, 0) << "texels with coverage outside every glyph box";
}

TEST(FontTables, GlyphsStandOnTheBaselineInsideTheirCellAndLine)
{
    // Flat-bottomed capitals and digits rest on the baseline.
    for (unsigned char c : {'A', 'E', 'H', 'L', 'T', 'Z', '1', '2', '4', '7', 'x', 'z'})
        EXPECT_NEAR(inkBox(glyph(c)).bottom, 0.0, 0.6) << c;
    // Descenders go below it, raised marks sit well above it.
    for (unsigned char c : {'g', 'j', 'p', 'q', 'y', ',', '\xe7' /* c cedilla */})
        EXPECT_LT(inkBox(glyph(c)).bottom, -4.0) << int(c);
    for (unsigned char c : {'^', '"', '\'', '`'})
        EXPECT_GT(inkBox(glyph(c)).bottom, 10.0) << c;
    // Capitals are taller than the lowercase body, accented capitals taller still.
    EXPECT_GT(inkBox(glyph('H')).top, inkBox(glyph('x')).top + 5.0);
    EXPECT_GT(inkBox(glyph(0xd4 /* O circumflex */)).top, inkBox(glyph('O')).top + 3.0);

    double lowest = 0, highest = 0;
    for (int code : drawableCodes()) {
        const InkBox ink = inkBox(glyph(static_cast<unsigned char>(code)));
        // Monospaced: the ink stays in the 24-unit cell, so neighbours never touch.
        EXPECT_GE(ink.left, -0.5) << "code " << code;
        EXPECT_LE(ink.right, 24.5) << "code " << code;
        lowest = std::min(lowest, ink.bottom);
        highest = std::max(highest, ink.top);
    }
    // All ink of a line fits the 46-unit line step, so lines never run into each other.
    EXPECT_LE(highest - lowest, 46.0);

    // Symmetric shapes are centred in the cell.
    for (unsigned char c : {'A', 'H', 'O', 'T', 'V', 'X', 'o', '|'}) {
        const InkBox ink = inkBox(glyph(c));
        EXPECT_NEAR(ink.left + ink.right, 24.0, 1.0) << c;
    }
}

TEST(FontTables, RasterRowsRunBottomUp)
{
    // 'T' has its bar at the top of its image, 'L' its foot at the bottom: with rows stored
    // bottom-up, the bar is in the highest rows of the box and the foot in the lowest.
    const glQuickTextGlyph& t = glyph('T');
    const int tTop = t.texY + t.height - 3;
    const int tBottom = t.texY + 2;
    EXPECT_GT(inkInRow(t, tTop), 3 * inkInRow(t, tBottom));

    const glQuickTextGlyph& l = glyph('L');
    const int lTop = l.texY + l.height - 3;
    const int lBottom = l.texY + 2;
    EXPECT_GT(inkInRow(l, lBottom), 3 * inkInRow(l, lTop));
}
