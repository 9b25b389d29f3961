// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The eye of the scene: where it is, what it looks at, which way is up.
#ifndef GLACIMOR_WORLD_CAMERA_H
#define GLACIMOR_WORLD_CAMERA_H

#include "math/vec3.h"

class GameObject;

class Camera {
public:
    vec3 pos;
    vec3 target;
    vec3 up{0, 1, 0};

    Camera(double px, double py, double pz, double tx, double ty, double tz);

    void place(double x, double y, double z);
    void place(vec3 p);
    void aim(double x, double y, double z);
    void aim(const GameObject& g); // looks at g's position
    // Moves the eye only: the view swings about the target.
    void pan(double dx, double dy, double dz);
    void pan(vec3 d);
    // Slides eye and target together: the viewing direction stays.
    void move(double dx, double dy, double dz);
    void move(vec3 d);

    // Sets the projection to the frame's frustum times the camera's view (applyView).
    void applyLookAt() const;
};

extern Camera camera; // the eye, placed behind the player each frame

#endif
