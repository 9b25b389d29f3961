// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the current GL context got, as a picture cannot show it reliably: the samples the game
// draws with, the size it draws at, and the renderer.
#ifndef GLACIMOR_RENDER_CONTEXT_H
#define GLACIMOR_RENDER_CONTEXT_H

#include <string>

struct ContextFacts {
    int samples = -1;       // GL_SAMPLES: 4 with 4x multisampling, 0 without
    int sampleBuffers = -1; // GL_SAMPLE_BUFFERS
    std::string renderer = "(none)";
};

// Reads the facts of the current context; the defaults where there is none.
ContextFacts readContextFacts();

// The size of the current viewport, the size the frame draws at; false without a context.
bool readViewportSize(int& width, int& height);

#endif
