// Start-up probe of the benchmark: preloaded into the real glacimor (LD_PRELOAD), it notes the
// monotonic time when the game calls SDL_Init and when its first SDL_GL_SwapBuffers returns,
// writes "startup_ms <milliseconds>" to the file named by GLACIMOR_STARTUP_PROBE_OUT (standard
// error when unset), and ends the process there. The game itself is not changed.
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

double secondsNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double initTime = -1;

template <typename Fn>
Fn nextSymbol(const char* name)
{
    void* symbol = dlsym(RTLD_NEXT, name);
    if (!symbol) {
        std::fprintf(stderr, "startup probe: %s not found\n", name);
        _exit(3);
    }
    return reinterpret_cast<Fn>(symbol);
}

} // namespace

extern "C" int SDL_Init(std::uint32_t flags)
{
    using InitFn = int (*)(std::uint32_t);
    static const InitFn realInit = nextSymbol<InitFn>("SDL_Init");
    if (initTime < 0)
        initTime = secondsNow();
    return realInit(flags);
}

extern "C" void SDL_GL_SwapBuffers()
{
    using SwapFn = void (*)();
    static const SwapFn realSwap = nextSymbol<SwapFn>("SDL_GL_SwapBuffers");
    realSwap();
    const double elapsedMs = (secondsNow() - initTime) * 1000.0;

    const char* path = std::getenv("GLACIMOR_STARTUP_PROBE_OUT");
    std::FILE* out = path ? std::fopen(path, "w") : nullptr;
    std::fprintf(out ? out : stderr, "startup_ms %.3f\n", initTime < 0 ? -1.0 : elapsedMs);
    if (out)
        std::fclose(out);
    // No exit handlers: the game's own shutdown is not part of its start-up.
    _exit(0);
}
