// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Finding drawn text in the read-back colour buffer: the bounds of the pixels that match a colour
// test, and coordinate helpers for the pixel and normalised-device spaces the texts are drawn in.
#ifndef GLACIMOR_TESTS_GL_TEXT_INK_H
#define GLACIMOR_TESTS_GL_TEXT_INK_H

#include "gl_context.h"

#include <algorithm>
#include <vector>

namespace gltest {

struct InkBounds {
    int minX = WIDTH, minY = HEIGHT, maxX = -1, maxY = -1;
    int count = 0;
    bool empty() const { return count == 0; }
};

// Bounds of the pixels inside [x0, x1) x [y0, y1) for which isInk(r, g, b) holds.
template <typename Pred>
InkBounds inkBounds(const std::vector<unsigned char>& pixels, Pred isInk, int x0 = 0, int y0 = 0, int x1 = WIDTH,
                    int y1 = HEIGHT)
{
    InkBounds b;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const Rgb p = pixelAt(pixels, x, y);
            if (!isInk(p.r, p.g, p.b))
                continue;
            ++b.count;
            b.minX = std::min(b.minX, x);
            b.minY = std::min(b.minY, y);
            b.maxX = std::max(b.maxX, x);
            b.maxY = std::max(b.maxY, y);
        }
    return b;
}

inline bool anyInk(int r, int g, int b) { return r > 40 || g > 40 || b > 40; }

// Black colour and depth buffers, no shader program, filled polygons.
inline void clearForText()
{
    glUseProgram(0);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// Coordinates in which one unit is `pixelsPerUnit` window pixels, origin at the bottom left.
inline void pixelSpace(double pixelsPerUnit)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, WIDTH / pixelsPerUnit, 0, HEIGHT / pixelsPerUnit, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Window pixel of a normalised device coordinate.
inline double ndcToPixelX(double x) { return (x + 1.0) * WIDTH / 2.0; }
inline double ndcToPixelY(double y) { return (y + 1.0) * HEIGHT / 2.0; }

} // namespace gltest

#endif
