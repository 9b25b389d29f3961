// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The GL 2.0 functions the game needs from GLEW, when glewInit's result still lets it start, and
// what start-up says when the driver lacks them.
#include "render/glew_status.h"

#include "core/printable.h"

#include <cstddef>

namespace {

struct GLFunction {
    const char* name;
    const void* address;
};

} // namespace

// GLEW's names are macros for its pointers: the name is taken before the macro is expanded.
#define GLACIMOR_GL_FUNCTION(fn) GLFunction{#fn, reinterpret_cast<const void*>(fn)}

const char* missingGL2Function()
{
    // Every GL 2.0 function the game calls: render/shader.cpp builds the two programs, and the
    // frame and the snow switch between them. A unit test compares this with what the library
    // links.
    const GLFunction functions[] = {
        GLACIMOR_GL_FUNCTION(glAttachShader),
        GLACIMOR_GL_FUNCTION(glCompileShader),
        GLACIMOR_GL_FUNCTION(glCreateProgram),
        GLACIMOR_GL_FUNCTION(glCreateShader),
        GLACIMOR_GL_FUNCTION(glGetProgramInfoLog),
        GLACIMOR_GL_FUNCTION(glGetProgramiv),
        GLACIMOR_GL_FUNCTION(glGetShaderInfoLog),
        GLACIMOR_GL_FUNCTION(glGetShaderiv),
        GLACIMOR_GL_FUNCTION(glIsShader),
        GLACIMOR_GL_FUNCTION(glLinkProgram),
        GLACIMOR_GL_FUNCTION(glShaderSource),
        GLACIMOR_GL_FUNCTION(glUseProgram),
    };
    for (const GLFunction& function : functions) {
        if (!function.address)
            return function.name;
    }
    return nullptr;
}

#undef GLACIMOR_GL_FUNCTION

std::string glewStartupFault(GLenum glewResult)
{
    // GLEW as the distributions build it knows only GLX. On a native Wayland display the context
    // is EGL's: glewInit has read its version and loaded the functions, and only then finds no
    // GLX display to ask for GLX's extensions, which the game does not use.
    if (glewResult == GLEW_OK)
        return {};
#ifdef GLEW_ERROR_NO_GLX_DISPLAY // not in the browser's GLEW, which has no GLX to miss
    if (glewResult == GLEW_ERROR_NO_GLX_DISPLAY)
        return {};
#endif
    return reinterpret_cast<const char*>(glewGetErrorString(glewResult));
}

std::string missingProgramsNotice(const char* glVersion, const char* missingFunction)
{
    if (!missingFunction)
        return {};
    // An old driver, indirect GLX or a remote desktop's GL 1.x: GLEW loads no GL 2.0 function.
    const std::string offers = glVersion ? "OpenGL " + printableLine(glVersion) : "an unknown OpenGL version";
    return "the OpenGL driver offers " + offers + " without " + missingFunction +
           "; the shader programs need OpenGL 2.0 with GLSL: drawing without them";
}
