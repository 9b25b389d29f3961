// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The probe preloaded into the real glacimor (LD_PRELOAD) by the end-to-end tests, the demo, the
// soak and the benchmark: the one library that wraps the game's buffer swap. It changes nothing in
// the game: it wraps SDL_Init and SDL_GL_SwapWindow, and after each swap:
//
//   GLACIMOR_STATE_PROBE_OUT=FILE     calls the game's state contract, glacimor_report_state
//                                     (game/state_report.h), which rewrites FILE with the state
//                                     the tests judge. A program without that symbol gets FILE
//                                     with the one line "missing_contract glacimor_report_state".
//   GLACIMOR_PROBE_HOLD=FILE          while FILE exists, holds the game before it shows another
//                                     frame, with FILE.held made meanwhile: the screen then shows the
//                                     frame of the last report, and a picture taken is its picture.
//                                     The game's clock runs on, as in any long frame.
//   GLACIMOR_PROBE_HOLD_START=FILE    while FILE exists, holds the game once SDL_Init has returned
//                                     (connected to the display, no window yet), with FILE.held
//                                     made meanwhile: a test can take the display away in start-up.
//   GLACIMOR_STARTUP_PROBE_OUT=FILE   times the start-up: writes "startup_ms <ms>" (SDL_Init to
//                                     the return of the first swap) to FILE and ends the process
//                                     there. With GLACIMOR_STARTUP_PROBE_FRAMES=N (1 to 100) it
//                                     lets N frames be shown first and adds "frame_ms <k> <ms>"
//                                     for each later frame k, from one swap's return to the next.
//
// A library preloaded after it that has something to do between frames (the virtual controller,
// tools/play/pad.cpp) hands it a function through glacimor_probe_after_swap instead of wrapping
// the swap again; those functions run after each swap, before the state is reported.
//
// It needs no header of SDL or of the game: the swap is declared here as SDL has it, and the
// contract is found by its name alone, so the same probe serves every build of the game.
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* const CONTRACT = "glacimor_report_state";

double secondsNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

template <typename Fn>
Fn nextSymbol(const char* name)
{
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

double initTime = -1;

// --- The start-up's time -------------------------------------------------------------------------

constexpr int MAX_FRAMES = 100;

// Swaps to wait for: GLACIMOR_STARTUP_PROBE_FRAMES, 1 to MAX_FRAMES, else 1.
int framesWanted()
{
    const char* value = std::getenv("GLACIMOR_STARTUP_PROBE_FRAMES");
    const int n = value ? std::atoi(value) : 1;
    return n < 1 ? 1 : n > MAX_FRAMES ? MAX_FRAMES : n;
}

void timeStartup(const char* path)
{
    static const int frames = framesWanted();
    static double swapTimes[MAX_FRAMES];
    static int swaps = 0;
    swapTimes[swaps++] = secondsNow();
    if (swaps < frames)
        return;
    std::FILE* out = std::fopen(path, "w");
    std::FILE* to = out ? out : stderr;
    std::fprintf(to, "startup_ms %.3f\n", initTime < 0 ? -1.0 : (swapTimes[0] - initTime) * 1000.0);
    for (int k = 1; k < swaps; ++k)
        std::fprintf(to, "frame_ms %d %.3f\n", k + 1, (swapTimes[k] - swapTimes[k - 1]) * 1000.0);
    if (out)
        std::fclose(out);
    // No exit handlers: the game's own shutdown is not part of its start-up.
    _exit(0);
}

// --- The game's state ----------------------------------------------------------------------------

void reportState(const char* path)
{
    using ReportFn = void (*)(const char*);
    static const ReportFn report = reinterpret_cast<ReportFn>(dlsym(RTLD_DEFAULT, CONTRACT));
    if (report) {
        report(path);
        return;
    }
    // Said once, and left in the file for the tests to name: without the contract nothing of the
    // game can be read, and no verdict about the game may be drawn from the missing keys.
    static bool said = false;
    if (said)
        return;
    said = true;
    std::fprintf(stderr, "glacimor probe: the program has no %s, the state the tests read\n", CONTRACT);
    if (std::FILE* out = std::fopen(path, "w")) {
        std::fprintf(out, "missing_contract %s\n", CONTRACT);
        std::fclose(out);
    }
}

// --- Holding the game between two frames ------------------------------------------------------------

void holdWhileAsked(const char* path)
{
    if (access(path, F_OK) != 0)
        return;
    const std::string held = std::string(path) + ".held";
    if (std::FILE* out = std::fopen(held.c_str(), "w"))
        std::fclose(out);
    while (access(path, F_OK) == 0)
        usleep(2000);
    unlink(held.c_str());
}

// --- What other preloaded libraries do between frames ------------------------------------------

constexpr int MAX_HOOKS = 8;
void (*hooks[MAX_HOOKS])() = {};
int hookCount = 0;

// Before the swap: the frame of the last report is still on the screen, the next one drawn but not
// shown.
void beforeSwap()
{
    if (const char* path = std::getenv("GLACIMOR_PROBE_HOLD"))
        holdWhileAsked(path);
}

void afterSwap()
{
    for (int i = 0; i < hookCount; ++i)
        hooks[i]();
    if (const char* path = std::getenv("GLACIMOR_STATE_PROBE_OUT"))
        reportState(path);
    if (const char* path = std::getenv("GLACIMOR_STARTUP_PROBE_OUT"))
        timeStartup(path);
}

} // namespace

extern "C" int SDL_Init(std::uint32_t flags)
{
    using InitFn = int (*)(std::uint32_t);
    static const InitFn realInit = nextSymbol<InitFn>("SDL_Init");
    if (initTime < 0)
        initTime = secondsNow();
    const int result = realInit ? realInit(flags) : -1;
    if (const char* path = std::getenv("GLACIMOR_PROBE_HOLD_START"))
        holdWhileAsked(path);
    return result;
}

extern "C" bool glacimor_probe_after_swap(void (*hook)())
{
    if (!hook || hookCount == MAX_HOOKS)
        return false;
    hooks[hookCount++] = hook;
    return true;
}

extern "C" void SDL_GL_SwapWindow(void* window)
{
    using SwapFn = void (*)(void*);
    static const SwapFn realSwap = nextSymbol<SwapFn>("SDL_GL_SwapWindow");
    beforeSwap();
    if (realSwap)
        realSwap(window);
    afterSwap();
}
