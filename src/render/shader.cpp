// Building the GLSL programs from their source files.
#include "render/shader.h"

#include "render/gl.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

unsigned int gm_shader = 0;
unsigned int gm_pshader = 0;

char* file2string(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return nullptr;
    std::fseek(file, 0, SEEK_END);
    const long length = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    if (length < 0) {
        std::fclose(file);
        return nullptr;
    }
    // One byte more than the file, for the terminator after the last byte read.
    char* text = static_cast<char*>(std::malloc(static_cast<std::size_t>(length) + 1));
    if (!text) {
        std::fclose(file);
        return nullptr;
    }
    const std::size_t read = std::fread(text, 1, static_cast<std::size_t>(length), file);
    text[read] = '\0';
    std::fclose(file);
    return text;
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
        std::fwrite(log.data(), 1, static_cast<std::size_t>(written), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
}

namespace {

// Compiles one stage; a missing file compiles as an empty source, which fails.
GLuint compileStage(GLenum type, const std::string& path)
{
    char* source = file2string(path);
    const char* text = source ? source : "";
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    std::free(source);

    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled)
        printLog(shader);
    return shader;
}

} // namespace

unsigned int loadShader(const std::string& base)
{
    const GLuint vertex = compileStage(GL_VERTEX_SHADER, base + ".vs");
    const GLuint fragment = compileStage(GL_FRAGMENT_SHADER, base + ".fs");

    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    printLog(program);

    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        // Selecting an unlinked program would draw nothing; the fixed pipeline draws the world.
        std::fprintf(stderr, "glacimor: shader program %s did not build; drawing without it\n", base.c_str());
        return 0;
    }
    return program;
}
