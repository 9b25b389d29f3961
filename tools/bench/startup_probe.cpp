// Start-up probe of the benchmark: preloaded into the real glacimor (LD_PRELOAD), it notes the
// monotonic time when the game calls SDL_Init and when its first SDL_GL_SwapWindow returns,
// writes "startup_ms <milliseconds>" to the file named by GLACIMOR_STARTUP_PROBE_OUT (standard
// error when unset), and ends the process there. The game itself is not changed. It also takes
// SDL 1.2's SDL_GL_SwapBuffers, so that `make bench-compare` can time the start-up of a revision
// from before the game spoke SDL 2.
//
// With GLACIMOR_STARTUP_PROBE_FRAMES=N (N > 1) it lets the game run N frames and adds a line
// "frame_ms <k> <milliseconds>" for each later frame k, from the return of one swap to the
// return of the next: the frames right after start-up, where the driver may still be compiling.
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

constexpr int MAX_FRAMES = 100;

// Swaps to wait for: GLACIMOR_STARTUP_PROBE_FRAMES, 1 to MAX_FRAMES, else 1.
int framesWanted()
{
    const char* value = std::getenv("GLACIMOR_STARTUP_PROBE_FRAMES");
    const int n = value ? std::atoi(value) : 1;
    return n < 1 ? 1 : n > MAX_FRAMES ? MAX_FRAMES : n;
}

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

// After each swap: the time, and once the frames wanted are in, the report and the end.
void swapped()
{
    static const int frames = framesWanted();
    static double swapTimes[MAX_FRAMES];
    static int swaps = 0;
    swapTimes[swaps++] = secondsNow();
    if (swaps < frames)
        return;

    const char* path = std::getenv("GLACIMOR_STARTUP_PROBE_OUT");
    std::FILE* out = path ? std::fopen(path, "w") : nullptr;
    std::FILE* to = out ? out : stderr;
    std::fprintf(to, "startup_ms %.3f\n", initTime < 0 ? -1.0 : (swapTimes[0] - initTime) * 1000.0);
    for (int k = 1; k < swaps; ++k)
        std::fprintf(to, "frame_ms %d %.3f\n", k + 1, (swapTimes[k] - swapTimes[k - 1]) * 1000.0);
    if (out)
        std::fclose(out);
    // No exit handlers: the game's own shutdown is not part of its start-up.
    _exit(0);
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

extern "C" void SDL_GL_SwapWindow(void* window)
{
    using SwapFn = void (*)(void*);
    static const SwapFn realSwap = nextSymbol<SwapFn>("SDL_GL_SwapWindow");
    realSwap(window);
    swapped();
}

extern "C" void SDL_GL_SwapBuffers()
{
    using SwapFn = void (*)();
    static const SwapFn realSwap = nextSymbol<SwapFn>("SDL_GL_SwapBuffers");
    realSwap();
    swapped();
}
