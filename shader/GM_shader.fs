// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Scene program, fragment stage: the texture tinted by the vertex colour, lit per pixel by a
// lamp that hangs over the player (light 0), a cold sky fill so that nothing ever goes black,
// a glint on the ice, and a cold blizzard haze that swallows what is far away.
// frontColour and texCoord0 come from the vertex stage; lampPosition and lampDiffuse are the lamp's,
// declared by the renderer before this text.

uniform sampler2D tex; // unit 0: the texture bound for the object

varying vec3 worldPos;
varying vec3 worldNormal;
varying vec3 eyePos;
varying float viewDist;

const vec3 skyFill = vec3(0.20, 0.24, 0.32);    // cold light from above
const vec3 groundFill = vec3(0.14, 0.16, 0.22); // what the snow throws back from below
const vec3 moonDir = vec3(0.371, 0.557, 0.743); // a faint high light that gives the walls some form
const vec3 moonColour = vec3(0.16, 0.18, 0.24);
const vec3 hazeColour = vec3(0.42, 0.48, 0.58); // driven snow far away
const float hazeStart = 160.0;                  // clear air around the player
const float hazeDensity = 0.003;
const float lampReach = 70.0;                   // distance at which the lamp has half its strength

// x to the 32nd power by five squarings: cheaper for every pixel than pow, which goes through a
// logarithm and an exponential, and no less exact.
float pow32(float x)
{
    x *= x;
    x *= x;
    x *= x;
    x *= x;
    return x * x;
}

// A unit vector, or the fallback where v has no direction to give.
vec3 safeNormalize(vec3 v, vec3 fallback)
{
    float len = length(v);
    return len > 1e-6 ? v / len : fallback;
}

void main()
{
    // Every side, wall and floor maps its texture once, so its coordinates lie in [0, 1]. A side
    // seen nearly edge-on can hand the sampler wild values at the pixels around its sliver; a
    // software renderer filtering anisotropically then walks a footprint of billions of texels
    // and freezes the game for seconds. Clamping changes no pixel that the surface covers.
    vec4 texel = texture2D(tex, clamp(texCoord0.st, 0.0, 1.0));
    vec3 albedo = frontColour.rgb * texel.rgb;

    vec3 n = safeNormalize(worldNormal, vec3(0.0, 1.0, 0.0));
    vec3 toEye = safeNormalize(eyePos - worldPos, vec3(0.0, 1.0, 0.0));

    // The game moves light 0 with the player and raises it with Up and Down: light it as a lamp
    // at that spot. A light given with w = 1 is a point too; the w = 0 position is one as well,
    // read as the place it names rather than a far-off direction that swings as the player walks.
    vec4 lp = lampPosition;
    vec3 lampPos = abs(lp.w) > 1e-6 ? lp.xyz / lp.w : lp.xyz;
    vec3 toLamp = lampPos - worldPos;
    float lampDist = length(toLamp);
    vec3 l = safeNormalize(toLamp, n);
    float falloff = 1.0 / (1.0 + (lampDist * lampDist) / (lampReach * lampReach));
    float diffuse = max(dot(n, l), 0.0) * falloff;

    // Ice shines: a soft highlight of the lamp, strongest where the lamp reflects toward the eye.
    vec3 h = safeNormalize(l + toEye, n);
    float glint = diffuse > 0.0 ? pow32(max(dot(n, h), 0.0)) * falloff * 0.5 : 0.0;

    vec3 lamp = lampDiffuse.rgb;
    vec3 fill = mix(groundFill, skyFill, 0.5 + 0.5 * n.y);
    vec3 moon = moonColour * max(dot(n, moonDir), 0.0);
    vec3 light = fill + moon + lamp * diffuse * 1.6;
    // Film-like exposure: the pool under the lamp grows bright without burning out to flat white.
    vec3 lit = vec3(1.0) - exp(-1.6 * (albedo * light + lamp * glint));

    float haze = 1.0 - exp(-max(viewDist - hazeStart, 0.0) * hazeDensity);
    gl_FragColor = vec4(mix(lit, hazeColour, clamp(haze, 0.0, 0.75)), frontColour.a * texel.a);
}
