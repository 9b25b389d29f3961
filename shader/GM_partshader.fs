// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Snow program, fragment stage: bright flakes, a touch of the pale blue they are given, catching
// the lamp over the player as they fall past it and thinning into the haze far away.
// frontColour and texCoord0 come from the vertex stage; lampPosition and lampDiffuse are the lamp's,
// declared by the renderer before this text.

varying vec3 worldPos;
varying vec3 worldNormal;
varying float viewDist;

const vec3 snowWhite = vec3(0.96, 0.98, 1.0);
const vec3 hazeColour = vec3(0.42, 0.48, 0.58); // the scene's haze, so far flakes melt into it
const float lampReach = 45.0;

void main()
{
    // Mostly white; the colour only tints it.
    vec3 colour = mix(snowWhite, frontColour.rgb, 0.2);

    vec4 lp = lampPosition;
    vec3 lampPos = abs(lp.w) > 1e-6 ? lp.xyz / lp.w : lp.xyz;
    vec3 toLamp = lampPos - worldPos;
    float lampDist = length(toLamp);
    vec3 n = length(worldNormal) > 1e-6 ? normalize(worldNormal) : vec3(0.0, 0.0, 1.0);
    vec3 l = lampDist > 1e-6 ? toLamp / lampDist : n;

    // Both faces of a diamond shine; the one turned to the lamp a little more.
    float facing = 0.95 + 0.1 * abs(dot(n, l));
    float glow = 1.0 / (1.0 + (lampDist * lampDist) / (lampReach * lampReach));
    colour = colour * facing + vec3(0.10, 0.10, 0.12) * glow;

    float far = clamp((viewDist - 150.0) / 450.0, 0.0, 1.0);
    colour = mix(colour, hazeColour, far * 0.6);
    float alpha = mix(1.0, 0.45, far) * frontColour.a;
    gl_FragColor = vec4(min(colour, vec3(1.0)), alpha);
}
