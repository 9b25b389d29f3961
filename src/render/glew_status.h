// Whether start-up may go on after glewInit: the GL 2.0 functions the game calls, and what
// glewInit's result means for them.
#ifndef GLACIMOR_RENDER_GLEW_STATUS_H
#define GLACIMOR_RENDER_GLEW_STATUS_H

#include "render/gl.h"

#include <string>

// The name of the first GL 2.0 function the game calls (building and switching the shader
// programs) that GLEW left unloaded, or null when all of them are loaded.
const char* missingGL2Function();

// What start-up makes of glewInit's result, given missingGL2Function() after it: empty when the
// game may go on, otherwise the reason to report before it stops.
std::string glewStartupFault(GLenum glewResult, const char* missingFunction);

#endif
