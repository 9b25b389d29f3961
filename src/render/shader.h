// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The two GLSL programs: the scene's and the snow's, built from shader/ at start-up.
#ifndef GLACIMOR_RENDER_SHADER_H
#define GLACIMOR_RENDER_SHADER_H

#include "render/pipeline.h"

#include <cstdint>
#include <string>

extern unsigned int gm_shader;  // the scene program, or 0 (fixed pipeline) when it failed to build
extern unsigned int gm_pshader; // the snow program, or 0 when it failed to build

// The largest shader source the game reads (1 MiB); the shipped ones are a few hundred bytes.
constexpr std::uint64_t SHADER_MAX_BYTES = 1024 * 1024;

// Builds the snow's program into gm_pshader, then the scene's into gm_shader. A driver without the
// GL 2.0 functions they need (GL 1.x, no GLSL) builds neither: one line on standard error says what
// it offers, both stay 0 and the game draws with the fixed pipeline, as with shading off.
void loadShaderPrograms();

// Builds a program from base + ".vs" and base + ".fs". A source that cannot be used (missing, not
// a regular file, over SHADER_MAX_BYTES) is named on one line of standard error and nothing is
// built: returns 0. Otherwise prints the logs of what failed; returns 0, after one line on
// standard error naming the base, when the program did not link.
unsigned int loadShader(const std::string& base);

// Compiles the two stages from their texts, each after its prelude, and links them with the vertex
// inputs named. Prints the logs of what failed; returns 0 when the program did not link.
unsigned int buildProgram(const char* vertexText, const char* fragmentText);

// The whole file as a zero-terminated text to release with free(), or null when it is missing,
// not a regular file, larger than SHADER_MAX_BYTES or unreadable; `why` then says which.
char* file2string(const std::string& path, std::string& why);
char* file2string(const std::string& path);

// Prints the info log of a shader or program to standard output when it is not empty, its
// control bytes escaped (core/printable.h).
void printLog(unsigned int obj);

#endif
