// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's one vector type: positions, directions and offsets in world units.
// Angles that enter or leave a vec3 are always in degrees.
#ifndef GLACIMOR_MATH_VEC3_H
#define GLACIMOR_MATH_VEC3_H

// Degrees per radian. The game has always used this rounded value, not 180/pi,
// and the headings it produces (e.g. 360.0000007648485 for straight ahead) depend on it.
constexpr double DEGREES_PER_RADIAN = 57.29578;

class vec3 {
public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    vec3() = default;
    vec3(double x, double y, double z);

    void set(double x, double y, double z);
    void set(vec3 v);

    // Sums are returned; the receiver is left unchanged.
    vec3 add(double x, double y, double z) const;
    vec3 add(vec3 v) const;

    void scale(double f);

    // Cross product this x v (not normalised).
    vec3 normal(double x, double y, double z) const;
    vec3 normal(vec3 v) const;

    // Scales to unit length; the zero vector stays zero.
    void normalize();
    double length() const;

    // Unsigned angle in degrees, in [0, 180]; 0 when either vector is zero.
    double angle(double x, double y, double z) const;

    // Right-handed rotations in place: a positive angle turns counterclockwise
    // seen from the positive end of the axis.
    void rotateX(double angle);
    void rotateY(double angle);
    void rotateZ(double angle);
};

#endif
