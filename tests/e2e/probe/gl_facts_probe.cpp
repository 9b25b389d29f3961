// GL facts of the running game for the end-to-end tests: preloaded into the real glacimor
// (LD_PRELOAD), it lets the game's first SDL_GL_SwapBuffers happen, then reads from the game's
// current GL context what a picture cannot show reliably and writes it, one fact a line, to the
// file named by GLACIMOR_GL_FACTS_OUT:
//   samples N          GL_SAMPLES of what the game draws into (4 with 4x multisampling, 0 without)
//   sample_buffers N   GL_SAMPLE_BUFFERS
//   viewport W H       the size the game draws at
//   renderer TEXT      GL_RENDERER
// and after every swap the number of frames shown so far into that name with ".frames" added, so a
// test waits for frames, not for a time that depends on the machine's speed. The game then goes
// on unchanged; it reads no environment variable for this itself.
#include <GL/gl.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

unsigned long frames = 0;
int framesFile = -1;

void writeFacts()
{
    const char* path = std::getenv("GLACIMOR_GL_FACTS_OUT");
    if (!path)
        return;
    GLint samples = -1, sampleBuffers = -1, viewport[4] = {-1, -1, -1, -1};
    glGetIntegerv(GL_SAMPLES, &samples);
    glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
    glGetIntegerv(GL_VIEWPORT, viewport);
    const GLubyte* renderer = glGetString(GL_RENDERER);

    // Written whole under another name and renamed, so a reader never sees half of it.
    char partial[4096];
    std::snprintf(partial, sizeof partial, "%s.partial", path);
    std::FILE* out = std::fopen(partial, "w");
    if (!out)
        return;
    std::fprintf(out, "samples %d\nsample_buffers %d\nviewport %d %d\nrenderer %s\n", samples,
                 sampleBuffers, viewport[2], viewport[3],
                 renderer ? reinterpret_cast<const char*>(renderer) : "(none)");
    std::fclose(out);
    std::rename(partial, path);
}

// Rewrites the counter in place, one short line of fixed width, which a reader sees whole.
void countFrame()
{
    ++frames;
    const char* path = std::getenv("GLACIMOR_GL_FACTS_OUT");
    if (!path)
        return;
    if (framesFile < 0) {
        char name[4096];
        std::snprintf(name, sizeof name, "%s.frames", path);
        framesFile = open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (framesFile < 0)
            return;
    }
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%20lu\n", frames);
    if (pwrite(framesFile, line, static_cast<std::size_t>(length), 0) != length)
        std::fprintf(stderr, "GL facts probe: cannot count frames\n");
}

} // namespace

extern "C" void SDL_GL_SwapBuffers()
{
    using SwapFn = void (*)();
    static const SwapFn realSwap = reinterpret_cast<SwapFn>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    if (!realSwap) {
        std::fprintf(stderr, "GL facts probe: SDL_GL_SwapBuffers not found\n");
        _exit(3);
    }
    realSwap();
    if (frames == 0)
        writeFacts();
    countFrame();
}
