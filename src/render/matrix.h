// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The matrices of the scene, made on the CPU in floats and handed to GL whole: the frustum, the
// camera's look-at, and each object's move and turns. Made with the same float operations in the
// same order as the driver's own matrix calls made them, so the picture stays as it was.
#ifndef GLACIMOR_RENDER_MATRIX_H
#define GLACIMOR_RENDER_MATRIX_H

#include "math/vec3.h"

// A 4 x 4 matrix as GL takes it: column after column, m[4 * column + row].
struct Matrix4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; // identity
};

// a times b: b's transform first, then a's.
Matrix4 operator*(const Matrix4& a, const Matrix4& b);

// The perspective of a view through the near plane's rectangle (left to right, bottom to top) at
// distance nearPlane, seeing up to farPlane.
Matrix4 frustumMatrix(float left, float right, float bottom, float top, float nearPlane, float farPlane);

// m, then the view of an eye looking at target with up as the up direction (the eye to the
// origin, the target straight ahead along -z) applied before it.
Matrix4 lookedAt(const Matrix4& m, vec3 eye, vec3 target, vec3 up);

// m, then a move by (x, y, z) applied before it.
Matrix4 translated(const Matrix4& m, float x, float y, float z);

// m, then a turn by degrees about the y or the x axis (counterclockwise looking down the axis
// towards the origin) applied before it.
Matrix4 rotatedY(const Matrix4& m, float degrees);
Matrix4 rotatedX(const Matrix4& m, float degrees);

// The inverse of m; false (inverse untouched) when m has none.
bool inverted(const Matrix4& m, Matrix4& inverse);

// The matrix that turns normals as m turns directions: the inverse of m's upper-left 3 x 3,
// transposed, column after column.
void normalMatrixOf(const Matrix4& m, float normal[9]);

#endif
