// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Loads the four world textures into the test context once per test process, as start-up does.
#ifndef GLACIMOR_TESTS_WORLD_TEXTURES_H
#define GLACIMOR_TESTS_WORLD_TEXTURES_H

#include "render/textures.h"

#include <gtest/gtest.h>

namespace gltest {

// True when textureList holds the four world textures (loading them if nothing has yet).
inline bool ensureWorldTextures()
{
    if (textureList.empty() && !createTextures())
        return false;
    return textureList.size() >= 4;
}

} // namespace gltest

#endif
