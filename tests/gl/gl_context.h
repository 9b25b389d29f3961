// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One real OpenGL context for all GL tests: an 800 x 600 SDL window on the test display,
// with the game's fixed GL state and GLEW loaded, created before the first test runs.
#ifndef GLACIMOR_TESTS_GL_CONTEXT_H
#define GLACIMOR_TESTS_GL_CONTEXT_H

#include "render/gl.h"

#include <vector>

namespace gltest {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;

// Reads back the colour buffer as RGB bytes, bottom row first.
std::vector<unsigned char> readPixels();

// The RGB of one pixel, (0, 0) at the bottom left.
struct Rgb {
    int r, g, b;
};
Rgb pixelAt(const std::vector<unsigned char>& pixels, int x, int y);

// A parameter of one level of the bound 2D texture (its width, height, format, bits of a channel).
inline GLint levelParameter(GLint level, GLenum name)
{
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

} // namespace gltest

#endif
