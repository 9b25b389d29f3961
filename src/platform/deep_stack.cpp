// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The deep-stack thread for the driver's shader compiler: the GL context moves to it and back.
#include "platform/deep_stack.h"

#include "core/signals.h"

#include <algorithm>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

#ifndef __EMSCRIPTEN__

struct Job {
    Screen* screen;
    void (*work)();
};

int SDLCALL runJob(void* data)
{
    const Job& job = *static_cast<const Job*>(data);
    // A driver that crashes even here is named on one line, from a stack of this thread's own.
    guardThisThread();
    // A context is current on one thread at a time: the caller has let it go.
    int status = 1;
    if (SDL_GL_MakeCurrent(job.screen->window, job.screen->context) == 0) {
        job.work();
        SDL_GL_MakeCurrent(job.screen->window, nullptr);
        status = 0;
    }
    unguardThisThread();
    return status;
}

#endif

} // namespace

std::size_t deepStackBytes()
{
    std::size_t bytes = DEEP_STACK_BYTES;
#ifndef _WIN32
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        bytes = std::min<std::size_t>(bytes, static_cast<std::size_t>(limit.rlim_cur / 64));
#endif
    return bytes;
}

std::size_t runOnDeepStack(Screen& screen, void (*work)())
{
#ifdef __EMSCRIPTEN__
    // A browser has no threads to move the context to, and its shader compiler is the browser's
    // own, off the game's stack: the work runs here, with the context current as it is.
    (void)screen;
    work();
    return 0;
#else
    Job job{&screen, work};
    std::size_t ranOn = 0;
    if (SDL_GL_MakeCurrent(screen.window, nullptr) == 0) {
        const std::size_t bytes = deepStackBytes();
        if (SDL_Thread* thread = SDL_CreateThreadWithStackSize(runJob, "glacimor-build", bytes, &job)) {
            int status = 1;
            SDL_WaitThread(thread, &status);
            if (status == 0)
                ranOn = bytes;
        }
    }
    SDL_GL_MakeCurrent(screen.window, screen.context);
    if (ranOn == 0)
        work();
    return ranOn;
#endif
}
