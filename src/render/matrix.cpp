// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The scene's matrices in floats, each operation summed in the order the driver's matrix calls sum
// it, so every corner lands on the same float as before.
#include "render/matrix.h"

#include <cmath>
#include <utility>

Matrix4 operator*(const Matrix4& a, const Matrix4& b)
{
    Matrix4 p;
    for (int row = 0; row < 4; ++row) {
        const float a0 = a.m[row], a1 = a.m[4 + row], a2 = a.m[8 + row], a3 = a.m[12 + row];
        for (int col = 0; col < 4; ++col)
            p.m[4 * col + row] =
                a0 * b.m[4 * col] + a1 * b.m[4 * col + 1] + a2 * b.m[4 * col + 2] + a3 * b.m[4 * col + 3];
    }
    return p;
}

Matrix4 frustumMatrix(float left, float right, float bottom, float top, float nearPlane, float farPlane)
{
    Matrix4 f;
    f.m[0] = (2.0f * nearPlane) / (right - left);
    f.m[5] = (2.0f * nearPlane) / (top - bottom);
    f.m[8] = (right + left) / (right - left);
    f.m[9] = (top + bottom) / (top - bottom);
    f.m[10] = -(farPlane + nearPlane) / (farPlane - nearPlane);
    f.m[11] = -1;
    f.m[14] = -(2.0f * farPlane * nearPlane) / (farPlane - nearPlane);
    f.m[15] = 0;
    return f;
}

namespace {

void normalize(float v[3])
{
    const float r = static_cast<float>(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
    if (r == 0.0f)
        return;
    v[0] /= r;
    v[1] /= r;
    v[2] /= r;
}

void cross(const float a[3], const float b[3], float result[3])
{
    result[0] = a[1] * b[2] - a[2] * b[1];
    result[1] = a[2] * b[0] - a[0] * b[2];
    result[2] = a[0] * b[1] - a[1] * b[0];
}

} // namespace

Matrix4 lookedAt(const Matrix4& m, vec3 eye, vec3 target, vec3 up)
{
    // The differences taken in double, then kept as floats, as the eye and the target are kept.
    float forward[3] = {static_cast<float>(target.x - eye.x), static_cast<float>(target.y - eye.y),
                        static_cast<float>(target.z - eye.z)};
    float upward[3] = {static_cast<float>(up.x), static_cast<float>(up.y), static_cast<float>(up.z)};
    float side[3];
    normalize(forward);
    cross(forward, upward, side);
    normalize(side);
    cross(side, forward, upward); // up again, square to the other two
    Matrix4 view;
    for (int i = 0; i < 3; ++i) {
        view.m[4 * i] = side[i];
        view.m[4 * i + 1] = upward[i];
        view.m[4 * i + 2] = -forward[i];
    }
    // The turn onto m first, then the move of the eye to the origin onto that.
    return translated(m * view, static_cast<float>(-eye.x), static_cast<float>(-eye.y), static_cast<float>(-eye.z));
}

Matrix4 translated(const Matrix4& m, float x, float y, float z)
{
    Matrix4 t = m;
    for (int row = 0; row < 4; ++row)
        t.m[12 + row] = m.m[row] * x + m.m[4 + row] * y + m.m[8 + row] * z + m.m[12 + row];
    return t;
}

namespace {

constexpr double PI = 3.14159265358979323846;

// The sine and cosine of a turn: the angle brought to radians in double, kept as a float, and its
// sine and cosine taken in float (so a half turn's sine is the float pi's, -8.7e-8, not 0).
void turn(float degrees, float& s, float& c)
{
    const float radians = static_cast<float>(degrees * PI / 180.0);
    s = std::sin(radians);
    c = std::cos(radians);
}

// m, then a turn by degrees that takes axis i towards axis j applied before it.
Matrix4 turned(const Matrix4& m, float degrees, int i, int j)
{
    float s, c;
    turn(degrees, s, c);
    Matrix4 r;
    r.m[5 * i] = c;
    r.m[5 * j] = c;
    r.m[4 * j + i] = -s; // row i, column j
    r.m[4 * i + j] = s;  // row j, column i
    return m * r;
}

} // namespace

Matrix4 rotatedY(const Matrix4& m, float degrees) { return turned(m, degrees, 2, 0); }

Matrix4 rotatedX(const Matrix4& m, float degrees) { return turned(m, degrees, 1, 2); }

bool inverted(const Matrix4& m, Matrix4& inverse)
{
    // Gauss-Jordan with partial pivoting, in double: the projection's inverse feeds the eye's place.
    double a[4][8];
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            a[row][col] = m.m[4 * col + row];
            a[row][col + 4] = row == col ? 1 : 0;
        }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 4; ++row)
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col]))
                pivot = row;
        if (!(std::fabs(a[pivot][col]) > 1e-30))
            return false;
        for (int k = 0; k < 8; ++k)
            std::swap(a[col][k], a[pivot][k]);
        const double scale = 1 / a[col][col];
        for (int k = 0; k < 8; ++k)
            a[col][k] *= scale;
        for (int row = 0; row < 4; ++row) {
            if (row == col)
                continue;
            const double f = a[row][col];
            for (int k = 0; k < 8; ++k)
                a[row][k] -= f * a[col][k];
        }
    }
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            inverse.m[4 * col + row] = static_cast<float>(a[row][col + 4]);
    return true;
}

void normalMatrixOf(const Matrix4& m, float normal[9])
{
    // The inverse of the upper-left 3 x 3, transposed: the cofactors over the determinant.
    const auto at = [&m](int row, int col) { return static_cast<double>(m.m[4 * col + row]); };
    double c[3][3];
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const int r0 = (row + 1) % 3, r1 = (row + 2) % 3, c0 = (col + 1) % 3, c1 = (col + 2) % 3;
            c[row][col] = at(r0, c0) * at(r1, c1) - at(r0, c1) * at(r1, c0);
        }
    const double det = at(0, 0) * c[0][0] + at(0, 1) * c[0][1] + at(0, 2) * c[0][2];
    const double scale = std::fabs(det) > 1e-30 ? 1 / det : 0;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            normal[3 * col + row] = static_cast<float>(c[row][col] * scale); // column after column
}
