#version 120
// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Scene program, vertex stage.
// The camera's view sits on the projection matrix and the modelview carries only the object's
// own placement, so the modelview takes a vertex straight to the world.

varying vec3 worldPos;    // this vertex in the world
varying vec3 worldNormal; // its normal in the world, not yet of unit length
varying vec3 eyePos;      // where the camera stands, in the world
varying float viewDist;   // distance along the view axis, for the haze

void main()
{
    vec4 world = gl_ModelViewMatrix * gl_Vertex;
    worldPos = world.xyz / world.w;
    worldNormal = gl_NormalMatrix * gl_Normal;

    // The eye is the one world point that the projection sends to clip (0, 0, -1, 0).
    vec4 eye = gl_ProjectionMatrixInverse * vec4(0.0, 0.0, -1.0, 0.0);
    eyePos = abs(eye.w) > 1e-20 ? eye.xyz / eye.w : worldPos + vec3(0.0, 1.0, 0.0);

    gl_FrontColor = gl_Color;
    gl_BackColor = gl_Color;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
    viewDist = gl_Position.w;
}
