// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading back what the GL context got.
#include "render/context.h"

#include "render/gl.h"

ContextFacts readContextFacts()
{
    ContextFacts facts;
    GLint value = -1;
    glGetIntegerv(GL_SAMPLES, &value);
    facts.samples = value;
    value = -1;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &value);
    facts.sampleBuffers = value;
    if (const GLubyte* renderer = glGetString(GL_RENDERER))
        facts.renderer = reinterpret_cast<const char*>(renderer);
    return facts;
}

bool readViewportSize(int& width, int& height)
{
    GLint viewport[4] = {-1, -1, -1, -1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (viewport[2] <= 0 || viewport[3] <= 0)
        return false;
    width = viewport[2];
    height = viewport[3];
    return true;
}
