#version 120
// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Snow program, vertex stage. Flakes are drawn in world coordinates under an identity modelview.

varying vec3 worldPos;    // this corner of the flake in the world
varying vec3 worldNormal; // the side of the diamond it belongs to
varying float viewDist;   // distance along the view axis, for the fading

void main()
{
    vec4 world = gl_ModelViewMatrix * gl_Vertex;
    worldPos = world.xyz / world.w;
    worldNormal = gl_NormalMatrix * gl_Normal;
    gl_FrontColor = gl_Color;
    gl_BackColor = gl_Color;
    gl_Position = ftransform();
    viewDist = gl_Position.w;
}
