// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Particle systems and the snowfall.
#include "world/particles.h"

#include "core/clock.h"
#include "core/random.h"
#include "core/settings.h"
#include "render/geometry.h"
#include "render/pipeline.h"
#include "render/shader.h"
#include "world/light.h"

long flakesDrawn = 0;

namespace {

// Only flakes this close to the light are drawn while snow culling is on.
constexpr double SNOW_CULL_DISTANCE = 57.0;

} // namespace

Particlesystem::Particlesystem(double x, double y, double z, double sizeX, double sizeY, double sizeZ, long count)
    : sizeX(sizeX), sizeY(sizeY), sizeZ(sizeZ), particleCount(count < MAX_PARTICLES ? count : MAX_PARTICLES),
      position(x, y, z)
{
}

vec3 Particlesystem::worldPoint(long i) const
{
    const vec3& p = particles[i];
    return vec3(position.x + p.x * sizeX - sizeX / 2, position.y + p.y * sizeY, position.z + p.z * sizeZ - sizeZ / 2);
}

Blizzard::Blizzard(double x, double y, double z, double sizeX, double sizeY, double sizeZ, long count)
    : Particlesystem(x, y, z, sizeX, sizeY, sizeZ, count)
{
    Blizzard::init();
}

void Blizzard::init()
{
    for (long i = 0; i < particleCount; ++i) {
        // Separate statements: the draws must come in x, y, z order.
        const double x = rand_double();
        const double y = rand_double();
        const double z = rand_double();
        particles[i].set(x, y, z);
    }
}

void Blizzard::update()
{
    for (long i = 0; i < particleCount; ++i) {
        vec3& p = particles[i];
        p.y -= 0.002 * frameNormalizer; // a fiftieth of the box per second
        p.x += (rand_double() - 0.5) * (0.001 * frameNormalizer);
        p.z += (rand_double() - 0.5) * (0.001 * frameNormalizer);
        if (p.y < 0) {
            p.x = rand_double();
            p.z = rand_double();
            p.y = 1.0;
        }
    }
}

void Blizzard::render()
{
    loadModelview(Matrix4());
    setColour(0.75f, 0.75f, 1.0f);
    useProgram(set_shading ? gm_pshader : 0);
    // The frame's flakes gathered here and handed to GL as one array.
    static vec3 visible[MAX_PARTICLES];
    flakesDrawn = 0;
    const vec3 light(light0.lightPos[0], light0.lightPos[1], light0.lightPos[2]);
    for (long i = 0; i < particleCount; ++i) {
        const vec3 p = worldPoint(i);
        const vec3 toLight(light.x - p.x, light.y - p.y, light.z - p.z);
        if (set_culling && !(toLight.length() < SNOW_CULL_DISTANCE))
            continue;
        visible[flakesDrawn++] = p;
    }
    GM_GL_flakes(visible, flakesDrawn);
    useProgram(set_shading ? gm_shader : 0);
}
