// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Placed things of the world: a position, a look direction, an activity state and
// a material, drawn as the coloured cube. Base of every mob; also static obstacles.
#ifndef GLACIMOR_WORLD_GAME_OBJECT_H
#define GLACIMOR_WORLD_GAME_OBJECT_H

#include "math/vec3.h"

#include <vector>

// Activity states of an object.
enum : int {
    STATE_STUNNED = 0,
    STATE_ACTIVE = 1,
    STATE_DEAD = 2,
};

class GameObject {
public:
    vec3 pos;
    vec3 dir; // look direction; unit length after look or lookAt
    vec3 up{0, 1, 0};
    int state = STATE_ACTIVE;
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {0, 0, 0, 1};
    float specular[4] = {0, 0, 0, 1};

    GameObject(double x, double y, double z, double dx, double dy, double dz);

    // Steps along the world axes, whatever the object faces.
    void move(double dx, double dy, double dz);
    void move(vec3 d);
    void place(double x, double y, double z);
    void place(vec3 p);
    void look(double x, double y, double z);
    void look(vec3 d);
    void lookAt(const GameObject& other);
    // Turns the look direction about the vertical axis; positive is counterclockwise seen from above.
    void rotate(double angle);
    double distance(double x, double y, double z) const;
    double distance(const GameObject& other) const;
    // Compass heading of dir in degrees: 0 toward -Z, 90 toward +X, growing clockwise seen from above.
    double azimut() const;
    // Elevation of dir above the ground plane in degrees.
    double arc() const;
    // Draws the object as the textured cube, its red side along dir. Leaves the modelview
    // matrix holding the object's placement.
    void render() const;
};

// A static object that files itself in obstacleList. The game places none.
class Obstacle : public GameObject {
public:
    Obstacle(double x, double y, double z, double angle);
};

extern std::vector<Obstacle*> obstacleList; // static obstacles; the game places none

#endif
