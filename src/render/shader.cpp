// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Building the GLSL programs from their source files.
#include "render/shader.h"

#include "core/datafile.h"
#include "core/printable.h"
#include "core/signals.h"
#include "render/gl.h"
#include "render/glew_status.h"
#include "render/pipeline.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

unsigned int gm_shader = 0;
unsigned int gm_pshader = 0;

char* file2string(const std::string& path, std::string& why)
{
    std::vector<char> bytes;
    if (!readDataFile(path, SHADER_MAX_BYTES, bytes, why))
        return nullptr;
    // One byte more than the file, for the terminator after the last byte read.
    char* text = static_cast<char*>(std::malloc(bytes.size() + 1));
    if (!text) {
        why = "there is no memory for it";
        return nullptr;
    }
    if (!bytes.empty())
        std::memcpy(text, bytes.data(), bytes.size());
    text[bytes.size()] = '\0';
    return text;
}

char* file2string(const std::string& path)
{
    std::string why;
    return file2string(path, why);
}

void printLog(unsigned int obj)
{
    const bool isShader = glIsShader(obj);
    GLint size = 0;
    if (isShader)
        glGetShaderiv(obj, GL_INFO_LOG_LENGTH, &size);
    else
        glGetProgramiv(obj, GL_INFO_LOG_LENGTH, &size);
    if (size <= 0)
        return;
    std::vector<char> log(static_cast<std::size_t>(size));
    GLsizei written = 0;
    if (isShader)
        glGetShaderInfoLog(obj, size, &written, log.data());
    else
        glGetProgramInfoLog(obj, size, &written, log.data());
    if (written > 0) {
        // The log quotes the source, which is data: its control bytes must not reach the terminal.
        const std::string text = printable(log.data(), std::min(static_cast<std::size_t>(written), log.size()));
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
}

namespace {

// A source written for an earlier release starts with its own "#version 120": the prelude gives
// the version now, and a second one would stop the compile. The line is blanked, not removed, so
// that the driver's log still counts the file's own lines.
void blankVersionLine(char* text)
{
    if (std::strncmp(text, "#version", 8) != 0)
        return;
    for (; *text && *text != '\n'; ++text)
        *text = ' ';
}

// Compiles one stage from its source text, after the prelude that names what it reads.
GLuint compileStage(GLenum type, const char* text)
{
    const GLuint shader = glCreateShader(type);
    const char* texts[2] = {shaderPrelude(type == GL_VERTEX_SHADER), text};
    glShaderSource(shader, 2, texts, nullptr);
    glCompileShader(shader);

    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled)
        printLog(shader);
    return shader;
}

} // namespace

unsigned int buildProgram(const char* vertexText, const char* fragmentText)
{
    const GLuint vertex = compileStage(GL_VERTEX_SHADER, vertexText);
    const GLuint fragment = compileStage(GL_FRAGMENT_SHADER, fragmentText);
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    bindVertexInputs(program);
    glLinkProgram(program);
    printLog(program);

    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    return linked ? program : 0;
}

unsigned int loadShader(const std::string& base)
{
    // Both sources are read before anything is built, so that each one that cannot be used is
    // named, and a program that cannot be built leaves no driver logs behind.
    const std::string paths[2] = {base + ".vs", base + ".fs"};
    char* sources[2] = {nullptr, nullptr};
    bool readable = true;
    for (int i = 0; i < 2; ++i) {
        std::string why;
        sources[i] = file2string(paths[i], why);
        if (!sources[i]) {
            std::fprintf(stderr, "glacimor: cannot use shader source %s: %s; drawing without the program %s\n",
                         printableLine(paths[i]).c_str(), why.c_str(), printableLine(base).c_str());
            readable = false;
        }
    }
    if (!readable) {
        std::free(sources[0]);
        std::free(sources[1]);
        return 0;
    }
    blankVersionLine(sources[0]);
    blankVersionLine(sources[1]);
    const GLuint program = buildProgram(sources[0], sources[1]);
    std::free(sources[0]);
    std::free(sources[1]);
    if (!program) {
        // Selecting an unlinked program would draw nothing; the fixed pipeline draws the world.
        std::fprintf(stderr, "glacimor: shader program %s did not build; drawing without it\n",
                     printableLine(base).c_str());
        return 0;
    }
    return program;
}

void loadShaderPrograms()
{
    const std::string notice = missingProgramsNotice(reinterpret_cast<const char*>(glGetString(GL_VERSION)),
                                                     missingGL2Function());
    if (!notice.empty()) {
        std::fprintf(stderr, "glacimor: %s\n", notice.c_str());
        return;
    }
    startUpStage("building the shader program shader/GM_partshader");
    gm_pshader = loadShader("shader/GM_partshader");
    startUpStage("building the shader program shader/GM_shader");
    gm_shader = loadShader("shader/GM_shader");
}
