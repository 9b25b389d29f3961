// The camera's placement and its view transform.
#include "world/camera.h"

#include "render/gl.h"
#include "world/game_object.h"

Camera::Camera(double px, double py, double pz, double tx, double ty, double tz)
    : pos(px, py, pz), target(tx, ty, tz)
{
}

void Camera::place(vec3 p) { pos = p; }

void Camera::aim(const GameObject& g) { target = g.pos; }

void Camera::applyLookAt() const
{
    gluLookAt(pos.x, pos.y, pos.z, target.x, target.y, target.z, up.x, up.y, up.z);
}
