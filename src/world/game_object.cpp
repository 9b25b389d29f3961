// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Placement, orientation, distances and drawing of world objects.
#include "world/game_object.h"

#include "render/pipeline.h"
#include "render/textures.h"
#include "world/cube.h"

#include <cmath>

GameObject::GameObject(double x, double y, double z, double dx, double dy, double dz)
    : pos(x, y, z), dir(dx, dy, dz)
{
}

void GameObject::move(double dx, double dy, double dz) { pos = pos.add(dx, dy, dz); }

void GameObject::move(vec3 d) { pos = pos.add(d); }

void GameObject::place(double x, double y, double z) { pos.set(x, y, z); }

void GameObject::place(vec3 p) { pos.set(p); }

void GameObject::look(double x, double y, double z)
{
    dir = vec3(x, y, z);
    dir.normalize();
}

void GameObject::look(vec3 d) { look(d.x, d.y, d.z); }

void GameObject::lookAt(const GameObject& other)
{
    look(other.pos.x - pos.x, other.pos.y - pos.y, other.pos.z - pos.z);
}

void GameObject::rotate(double angle) { dir.rotateY(angle); }

double GameObject::distance(double x, double y, double z) const
{
    const double dx = x - pos.x;
    const double dy = y - pos.y;
    const double dz = z - pos.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double GameObject::distance(const GameObject& other) const
{
    return distance(other.pos.x, other.pos.y, other.pos.z);
}

double GameObject::azimut() const
{
    const vec3 h(dir.x, 0, dir.z);
    // The quadrant tests overlap on the axes; the first match decides, which is
    // why straight ahead (0, 0, -1) reads 360 rather than 0.
    if (h.x > 0 && h.z <= 0)
        return h.angle(0, 0, -1);
    if (h.x >= 0 && h.z > 0)
        return h.angle(1, 0, 0) + 90;
    if (h.x < 0 && h.z >= 0)
        return h.angle(0, 0, 1) + 180;
    if (h.x <= 0 && h.z < 0)
        return h.angle(-1, 0, 0) + 270;
    return 0;
}

double GameObject::arc() const
{
    const double e = dir.angle(dir.x, 0, dir.z);
    if (dir.y > 0)
        return e;
    if (dir.y < 0)
        return -e;
    return 0;
}

void GameObject::render() const
{
    setMaterial(ambient, diffuse, specular);
    const Matrix4 moved = translated(Matrix4(), static_cast<float>(pos.x), static_cast<float>(pos.y),
                                     static_cast<float>(pos.z));
    loadModelview(rotatedX(rotatedY(moved, static_cast<float>(-azimut())), static_cast<float>(arc())));
    // Dead bodies wear the second face texture.
    cube.render(textureList[state == STATE_DEAD ? TEX_CUBEFACE_DEAD : TEX_CUBEFACE]);
}

Obstacle::Obstacle(double x, double y, double z, double angle) : GameObject(x, y, z, 0, 0, -1)
{
    rotate(angle);
    obstacleList.push_back(this);
}
