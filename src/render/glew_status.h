// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Whether start-up may go on after glewInit, and whether the driver offers the GL 2.0 functions
// that the shader programs need.
#ifndef GLACIMOR_RENDER_GLEW_STATUS_H
#define GLACIMOR_RENDER_GLEW_STATUS_H

#include "render/gl.h"

#include <string>

// The name of the first GL 2.0 function the game calls (building and switching the shader
// programs) that GLEW left unloaded, or null when all of them are loaded.
const char* missingGL2Function();

// What start-up makes of glewInit's result: empty when the game may go on, otherwise the reason to
// report before it stops. Whether the shader programs can be built is asked of missingGL2Function
// afterwards: without them the game still plays, with the fixed pipeline.
std::string glewStartupFault(GLenum glewResult);

// The one line (without the program's name) that start-up shows when the driver cannot build the
// shader programs (missingFunction from missingGL2Function): what the driver offers, by its GL
// version string, and what the programs need. Empty when nothing is missing.
std::string missingProgramsNotice(const char* glVersion, const char* missingFunction);

#endif
