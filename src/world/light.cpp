// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The light that the scene shader reads as GL light 0.
#include "world/light.h"

#include "render/pipeline.h"

#include <algorithm>

Light::Light(double x, double y, double z, unsigned int id)
    : GameObject(x, y, z, 0, 0, -1), lightId(id),
      lightPos{static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), 0.0f}
{
    // The global light is built before any GL context exists; without a context this call
    // does nothing, and the picture does not need it: the light reaches the scene through the shader.
    enableLight(lightId);
    diffuse[0] = diffuse[1] = diffuse[2] = diffuse[3] = 1.0f;
    lightList.push_back(this);
}

Light::~Light()
{
    disableLight(lightId);
    lightList.erase(std::remove(lightList.begin(), lightList.end(), this), lightList.end());
}

void Light::render() const
{
    loadModelview(Matrix4());
    setLight(lightId, ambient, diffuse, specular, lightPos);
}
