// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The camera's placement and its view transform.
#include "world/camera.h"

#include "render/scene.h"
#include "world/game_object.h"

Camera::Camera(double px, double py, double pz, double tx, double ty, double tz)
    : pos(px, py, pz), target(tx, ty, tz)
{
}

void Camera::place(double x, double y, double z) { pos = vec3(x, y, z); }

void Camera::place(vec3 p) { pos = p; }

void Camera::aim(double x, double y, double z) { target = vec3(x, y, z); }

void Camera::aim(const GameObject& g) { target = g.pos; }

void Camera::pan(double dx, double dy, double dz) { pos = pos.add(dx, dy, dz); }

void Camera::pan(vec3 d) { pos = pos.add(d); }

void Camera::move(double dx, double dy, double dz)
{
    pos = pos.add(dx, dy, dz);
    target = target.add(dx, dy, dz);
}

void Camera::move(vec3 d) { move(d.x, d.y, d.z); }

void Camera::applyLookAt() const
{
    applyView(pos, target, up);
}
