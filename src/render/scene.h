// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The GL state of a frame's drawing, set from the settings, and the scene's projection: the
// frustum the frame hands to GL, and the same projection by arithmetic, which tells where a
// world point lands on the screen.
#ifndef GLACIMOR_RENDER_SCENE_H
#define GLACIMOR_RENDER_SCENE_H

#include "math/vec3.h"

// The scene's frustum: half its height at the near plane (its half width is the screen's aspect
// times that), the near and the far plane, in world units.
constexpr double VIEW_HALF_HEIGHT = 0.5;
constexpr double VIEW_NEAR = 3.0;
constexpr double VIEW_FAR = 20000.0;

// The start of a frame's drawing: texture modes and GL switches from the settings, blending off
// for the opaque world, the program set_shading chooses, the clear, then the projection matrix
// set to the frustum for a screen of this aspect (width / height), kept for the camera's view.
void beginSceneState(double aspect);

// The projection set to the frame's frustum times the view of a camera at eye looking at target.
void applyView(vec3 eye, vec3 target, vec3 up);

// After the view: the modelview matrix at identity. Every object places itself on it.
void beginModelview();

// After the opaque world: blending on or off as set_alpha says, for the snow and the overlay.
void setBlendingFromSettings();

// Between the scene and the overlay: the fixed pipeline and an identity modelview. The camera's
// view stays on the projection matrix for the effect labels.
void beginOverlayState();

// The scene program selected again, whatever set_shading says: the next frame chooses its own
// before it draws anything.
void selectSceneProgram();

// Where a world point lands on a screen of width x height pixels, as the frame's projection puts
// it with the view of a camera at eye looking at target with the given up: x and y the pixel from
// the top left, unit the size in pixels of one world unit there. A point behind the near plane
// (or a view without a direction) gets x = y = -1 and unit 0.
struct ScreenPoint {
    double x = -1;
    double y = -1;
    double unit = 0;
};
ScreenPoint projectToScreen(vec3 eye, vec3 target, vec3 up, vec3 point, int width, int height);

#endif
