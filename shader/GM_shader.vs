// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Scene program, vertex stage.
// The camera's view sits on the projection matrix and the modelview carries only the object's
// own placement, so the modelview takes a vertex straight to the world.
// The vertex, its matrices and the lamp are read by the names the renderer declares before this
// text (vertexPosition, vertexNormal, vertexColour, vertexTexCoord, modelviewMatrix, normalMatrix,
// projectionInverse, lampPosition, lampDiffuse, clipPosition()); it passes frontColour and texCoord0 on.

varying vec3 worldPos;    // this vertex in the world
varying vec3 worldNormal; // its normal in the world, not yet of unit length
varying vec3 eyePos;      // where the camera stands, in the world
varying float viewDist;   // distance along the view axis, for the haze

void main()
{
    vec4 world = modelviewMatrix * vertexPosition;
    worldPos = world.xyz / world.w;
    worldNormal = normalMatrix * vertexNormal;

    // The eye is the one world point that the projection sends to clip (0, 0, -1, 0).
    vec4 eye = projectionInverse * vec4(0.0, 0.0, -1.0, 0.0);
    eyePos = abs(eye.w) > 1e-20 ? eye.xyz / eye.w : worldPos + vec3(0.0, 1.0, 0.0);

    frontColour = vertexColour;
    texCoord0 = vertexTexCoord;
    gl_Position = clipPosition();
    viewDist = gl_Position.w;
}
