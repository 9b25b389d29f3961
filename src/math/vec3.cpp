// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Vector arithmetic, angles and axis rotations.
#include "math/vec3.h"

#include <algorithm>
#include <cmath>

vec3::vec3(double x, double y, double z) : x(x), y(y), z(z) {}

void vec3::set(double nx, double ny, double nz)
{
    x = nx;
    y = ny;
    z = nz;
}

void vec3::set(vec3 v) { set(v.x, v.y, v.z); }

vec3 vec3::add(double dx, double dy, double dz) const { return vec3(x + dx, y + dy, z + dz); }

vec3 vec3::add(vec3 v) const { return add(v.x, v.y, v.z); }

void vec3::scale(double f)
{
    x *= f;
    y *= f;
    z *= f;
}

vec3 vec3::normal(double vx, double vy, double vz) const
{
    return vec3(y * vz - z * vy, z * vx - x * vz, x * vy - y * vx);
}

vec3 vec3::normal(vec3 v) const { return normal(v.x, v.y, v.z); }

void vec3::normalize()
{
    const double len = length();
    if (len != 0.0)
        scale(1.0 / len);
}

double vec3::length() const { return std::sqrt(x * x + y * y + z * z); }

double vec3::angle(double vx, double vy, double vz) const
{
    const double p = length() * std::sqrt(vx * vx + vy * vy + vz * vz);
    if (p == 0.0)
        return 0.0;
    // Rounding can push the cosine of parallel vectors just past 1; acos would give NaN.
    const double cosine = std::clamp((x * vx + y * vy + z * vz) / p, -1.0, 1.0);
    return std::acos(cosine) * DEGREES_PER_RADIAN;
}

namespace {

// Sine and cosine of an angle in degrees, reduced to one turn keeping its sign.
void sincosDegrees(double angle, double& s, double& c)
{
    const double a = std::fmod(angle, 360.0) / DEGREES_PER_RADIAN;
    s = std::sin(a);
    c = std::cos(a);
}

} // namespace

void vec3::rotateX(double angle)
{
    double s, c;
    sincosDegrees(angle, s, c);
    const double ny = y * c - z * s;
    const double nz = y * s + z * c;
    y = ny;
    z = nz;
}

void vec3::rotateY(double angle)
{
    double s, c;
    sincosDegrees(angle, s, c);
    const double nx = x * c + z * s;
    const double nz = -x * s + z * c;
    x = nx;
    z = nz;
}

void vec3::rotateZ(double angle)
{
    double s, c;
    sincosDegrees(angle, s, c);
    const double nx = x * c - y * s;
    const double ny = x * s + y * c;
    x = nx;
    y = ny;
}
