// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The box filter of the textures' smaller levels on the sides GL's level sizes take.
#include "render/mipmap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

Bitmap picture(int width, int height, const std::vector<unsigned char>& rows)
{
    Bitmap b;
    b.width = width;
    b.height = height;
    b.pixels = rows;
    EXPECT_EQ(rows.size(), static_cast<std::size_t>(b.stride() * height));
    return b;
}

} // namespace

TEST(Mipmap, OddSidesLoseTheirLastRowAndColumnAndOneSidedLevelsPairAlongTheOther)
{
    // 3 x 3, rows padded to 12 bytes: the next level is 1 x 1, the mean of the top-left 2 x 2,
    // half a level rounding up (1 + 2 + 4 + 5 + 2) / 4 = 3.
    const Bitmap odd = picture(3, 3, {1, 1, 1, 2, 2, 2, 99, 99, 99, 0, 0, 0, //
                                      4, 4, 4, 5, 5, 5, 99, 99, 99, 0, 0, 0, //
                                      99, 99, 99, 99, 99, 99, 99, 99, 99, 0, 0, 0});
    const Bitmap one = halveBitmap(odd);
    EXPECT_EQ(one.width, 1);
    EXPECT_EQ(one.height, 1);
    EXPECT_EQ(one.pixels, (std::vector<unsigned char>{3, 3, 3, 0}));

    // 1 x 4 (one column, each row padded to 4 bytes) halves to 1 x 2: pairs of rows.
    const Bitmap column = picture(1, 4, {0, 10, 255, 0, 1, 11, 254, 0, 100, 0, 7, 0, 101, 0, 8, 0});
    const Bitmap half = halveBitmap(column);
    EXPECT_EQ(half.width, 1);
    EXPECT_EQ(half.height, 2);
    EXPECT_EQ(half.pixels, (std::vector<unsigned char>{1, 11, 255, 0, 101, 0, 8, 0}));

    // A 1 x 1 level stays itself.
    EXPECT_EQ(halveBitmap(one).pixels, one.pixels);
}
