// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The matrices the browser hands its programs in place of the fixed pipeline's: the projection's
// inverse (where the scene's shader finds the eye) and the normals' matrix.
#include "render/matrix.h"

#include <gtest/gtest.h>

namespace {

// The start's view through an 800 x 600 screen, as the frame makes it.
Matrix4 startView()
{
    const float halfWidth = 800.0f / 600 * 0.5f;
    return lookedAt(frustumMatrix(-halfWidth, halfWidth, -0.5f, 0.5f, 3, 20000), vec3(20, 36, 180), vec3(20, 0, 0),
                    vec3(0, 1, 0));
}

} // namespace

TEST(MatrixInverse, TakesTheViewBackAndFindsTheEye)
{
    const Matrix4 view = startView();
    Matrix4 inverse;
    ASSERT_TRUE(inverted(view, inverse));
    const Matrix4 product = inverse * view;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(product.m[i], i % 5 == 0 ? 1 : 0, 1e-3) << "element " << i;
    // The eye is the point the projection sends to clip (0, 0, -1, 0): the scene's shader finds it so.
    const float eye[4] = {-inverse.m[8], -inverse.m[9], -inverse.m[10], -inverse.m[11]};
    EXPECT_NEAR(eye[0] / eye[3], 20, 1e-2);
    EXPECT_NEAR(eye[1] / eye[3], 36, 1e-2);
    EXPECT_NEAR(eye[2] / eye[3], 180, 1e-2);

    Matrix4 flat;
    flat.m[10] = 0; // no depth: nothing to invert
    Matrix4 untouched;
    untouched.m[3] = 7;
    EXPECT_FALSE(inverted(flat, untouched));
    EXPECT_EQ(untouched.m[3], 7);
}

TEST(NormalMatrix, TurnsNormalsWithAFigureAndStaysPerpendicularUnderScaling)
{
    // A figure's placement: moved and turned only, so normals turn as its directions do.
    const Matrix4 placed = rotatedX(rotatedY(translated(Matrix4(), 12.5f, 1, -33.3f), -217.4f), 12.9f);
    float normal[9];
    normalMatrixOf(placed, normal);
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            EXPECT_NEAR(normal[3 * col + row], placed.m[4 * col + row], 1e-5) << "row " << row << ", column " << col;

    // Stretched to twice its width, a 45-degree side's normal must lean toward the narrow axis
    // to stay perpendicular: (1, 1) becomes (0.5, 1), not (2, 1).
    Matrix4 stretched;
    stretched.m[0] = 2;
    normalMatrixOf(stretched, normal);
    const float nx = normal[0] * 1 + normal[3] * 1;
    const float ny = normal[1] * 1 + normal[4] * 1;
    EXPECT_NEAR(nx / ny, 0.5f, 1e-6);
}
