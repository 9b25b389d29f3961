// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The box filter of the mipmap levels and the table of GL's error names.
#include "render/mipmap.h"

Bitmap halveBitmap(const Bitmap& level)
{
    Bitmap half;
    half.width = level.width > 1 ? level.width / 2 : 1;
    half.height = level.height > 1 ? level.height / 2 : 1;
    half.pixels.assign(static_cast<std::size_t>(half.stride()) * static_cast<std::size_t>(half.height), 0);
    // Across a side of one there is nothing to pair with: the step stays on the same row or column.
    const int stepX = level.width > 1 ? 3 : 0;
    const int stepY = level.height > 1 ? level.stride() : 0;
    for (int y = 0; y < half.height; ++y) {
        const unsigned char* row = level.pixels.data() + static_cast<std::size_t>(y) * (stepY ? 2 : 1) * level.stride();
        unsigned char* out = half.pixels.data() + static_cast<std::size_t>(y) * half.stride();
        for (int x = 0; x < half.width; ++x)
            for (int channel = 0; channel < 3; ++channel) {
                const unsigned char* p = row + x * (stepX ? 6 : 3) + channel;
                // A side of one counts each pixel twice, so every mean is of four values.
                const unsigned sum = p[0] + p[stepX] + p[stepY] + p[stepY + stepX];
                out[3 * x + channel] = static_cast<unsigned char>((sum + 2) / 4);
            }
    }
    return half;
}

const char* glErrorName(unsigned error)
{
    switch (error) {
    case 0x0500: return "invalid enumerant";
    case 0x0501: return "invalid value";
    case 0x0502: return "invalid operation";
    case 0x0503: return "stack overflow";
    case 0x0504: return "stack underflow";
    case 0x0505: return "out of memory";
    case 0x0506: return "invalid framebuffer operation";
    case 0x8031: return "table too large";
    default: return "unknown GL error";
    }
}
