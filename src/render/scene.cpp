// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The frame's GL switches and projection.
#include "render/scene.h"

#include "core/settings.h"
#include "render/gl.h"
#include "render/pipeline.h"
#include "render/shader.h"
#include "render/textures.h"

#include <cmath>

namespace {

// The frame's frustum, which the camera's view is multiplied onto.
Matrix4 sceneFrustum;

} // namespace

void beginSceneState(double aspect)
{
    setTexMode();
    setWireframe(set_wireframe);
    // The cubes and the skybox are opaque: their colours and textures carry alpha 1 everywhere,
    // so blending them would only read back every pixel to keep it as drawn.
    glDisable(GL_BLEND);
    useProgram(set_shading ? gm_shader : 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // The view lives on the projection matrix; the modelview carries only each object's placement.
    const float halfWidth = static_cast<float>(aspect * VIEW_HALF_HEIGHT);
    const float halfHeight = static_cast<float>(VIEW_HALF_HEIGHT);
    sceneFrustum = frustumMatrix(-halfWidth, halfWidth, -halfHeight, halfHeight, static_cast<float>(VIEW_NEAR),
                                 static_cast<float>(VIEW_FAR));
    loadProjection(sceneFrustum);
}

void applyView(vec3 eye, vec3 target, vec3 up) { loadProjection(lookedAt(sceneFrustum, eye, target, up)); }

void beginModelview() { loadModelview(Matrix4()); }

void setBlendingFromSettings()
{
    if (set_alpha)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
}

void beginOverlayState()
{
    useProgram(0);
    loadModelview(Matrix4());
}

void selectSceneProgram() { useProgram(gm_shader); }

ScreenPoint projectToScreen(vec3 eye, vec3 target, vec3 up, vec3 point, int width, int height)
{
    // The view's frame (lookedAt's): f forward, s to the right, u up, all of unit length.
    vec3 f(target.x - eye.x, target.y - eye.y, target.z - eye.z);
    if (f.length() <= 0)
        return {};
    f.normalize();
    vec3 s = f.normal(up);
    if (s.length() <= 0)
        return {};
    s.normalize();
    const vec3 u = s.normal(f);
    const vec3 d(point.x - eye.x, point.y - eye.y, point.z - eye.z);
    const double right = s.x * d.x + s.y * d.y + s.z * d.z;
    const double above = u.x * d.x + u.y * d.y + u.z * d.z;
    const double depth = f.x * d.x + f.y * d.y + f.z * d.z;
    if (depth < VIEW_NEAR)
        return {};
    // The frustum maps the near plane's half height (and aspect times it across) to the screen's.
    const double aspect = static_cast<double>(width) / height;
    const double ndcX = VIEW_NEAR / (aspect * VIEW_HALF_HEIGHT) * right / depth;
    const double ndcY = VIEW_NEAR / VIEW_HALF_HEIGHT * above / depth;
    return {(ndcX + 1) / 2 * width, (1 - ndcY) / 2 * height, VIEW_NEAR / VIEW_HALF_HEIGHT / depth * height / 2};
}
