// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// OpenGL, GLU (which only the GL tests call) and the 2.0 entry points that GLEW loads, in the one
// order they must be included.
#ifndef GLACIMOR_RENDER_GL_H
#define GLACIMOR_RENDER_GL_H

#include <GL/glew.h>
#include <GL/glu.h>

#ifndef GL_TEXTURE_MAX_ANISOTROPY_EXT
#define GL_TEXTURE_MAX_ANISOTROPY_EXT 0x84FE
#endif

#endif
