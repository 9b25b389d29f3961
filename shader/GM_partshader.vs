// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Snow program, vertex stage. Flakes are drawn in world coordinates under an identity modelview.
// The vertex, its matrices and the lamp are read by the names the renderer declares before this
// text (vertexPosition, vertexNormal, vertexColour, vertexTexCoord, modelviewMatrix, normalMatrix,
// projectionInverse, lampPosition, lampDiffuse, clipPosition()); it passes frontColour and texCoord0 on.

varying vec3 worldPos;    // this corner of the flake in the world
varying vec3 worldNormal; // the side of the diamond it belongs to
varying float viewDist;   // distance along the view axis, for the fading

void main()
{
    vec4 world = modelviewMatrix * vertexPosition;
    worldPos = world.xyz / world.w;
    worldNormal = normalMatrix * vertexNormal;
    frontColour = vertexColour;
    gl_Position = clipPosition();
    viewDist = gl_Position.w;
}
