// The two GLSL programs: the scene's and the snow's, built from shader/ at start-up.
#ifndef GLACIMOR_RENDER_SHADER_H
#define GLACIMOR_RENDER_SHADER_H

#include <string>

extern unsigned int gm_shader;  // the scene program, or 0 (fixed pipeline) when it failed to build
extern unsigned int gm_pshader; // the snow program, or 0 when it failed to build

// Builds a program from base + ".vs" and base + ".fs". Prints the logs of what failed; returns 0,
// after one line on standard error naming the base, when the program did not link.
unsigned int loadShader(const std::string& base);

// The whole file as a zero-terminated text to release with free(), or null when it cannot be read.
char* file2string(const std::string& path);

// Prints the info log of a shader or program to standard output when it is not empty.
void printLog(unsigned int obj);

#endif
