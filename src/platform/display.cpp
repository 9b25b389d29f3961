// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The X library and the Wayland client library are SDL's to load (and the GL driver's): the game
// reaches the two functions it needs in them by name, so it builds and runs without either.
#include "platform/display.h"

#include "core/printable.h"
#include "core/signals.h"

#include <SDL_syswm.h>

#include <cstdio>
#include <cstdlib>

#if defined(__linux__) || defined(__FreeBSD__)
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>
#define GLACIMOR_WATCH_DISPLAY 1
#endif

namespace {

#ifdef GLACIMOR_WATCH_DISPLAY

// The library's function `name`, when the library is loaded already; null otherwise.
template <typename Fn>
Fn loadedFunction(const char* library, const char* name)
{
    void* handle = ::dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    if (!handle)
        return nullptr;
    Fn function = reinterpret_cast<Fn>(::dlsym(handle, name));
    // The library stays: SDL holds it. This handle only counted one more use of it.
    ::dlclose(handle);
    return function;
}

// Xlib's XIOErrorHandler, with the display as an opaque pointer (Display*).
using IOErrorHandler = int (*)(void* display);
using SetIOErrorHandler = IOErrorHandler (*)(IOErrorHandler handler);

int onConnectionLost(void*) { displayLost(); }

#endif

} // namespace

void watchDisplayConnection()
{
#ifdef GLACIMOR_WATCH_DISPLAY
    if (const auto setHandler = loadedFunction<SetIOErrorHandler>("libX11.so.6", "XSetIOErrorHandler"))
        setHandler(onConnectionLost);
#endif
}

bool displayConnectionLost(SDL_Window* window)
{
#if defined(GLACIMOR_WATCH_DISPLAY) && defined(SDL_VIDEO_DRIVER_WAYLAND)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND)
        return false;
    using GetError = int (*)(wl_display*);
    const auto getError = loadedFunction<GetError>("libwayland-client.so.0", "wl_display_get_error");
    return getError && info.info.wl.display && getError(info.info.wl.display) != 0;
#else
    (void)window;
    return false;
#endif
}

#ifdef GLACIMOR_WATCH_DISPLAY

HeldStandardError::HeldStandardError()
{
    std::fflush(stderr);
    std::FILE* file = std::tmpfile();
    if (!file)
        return;
    held = ::dup(::fileno(file));
    std::fclose(file);
    saved = ::fcntl(2, F_DUPFD_CLOEXEC, 3);
    if (held < 0 || saved < 0 || ::dup2(held, 2) < 0) {
        if (held >= 0)
            ::close(held);
        if (saved >= 0)
            ::close(saved);
        held = saved = -1;
        return;
    }
    sayLinesOn(saved);
}

HeldStandardError::~HeldStandardError() { release(); }

std::string HeldStandardError::release()
{
    std::string text;
    if (saved < 0)
        return text;
    std::fflush(stderr);
    ::dup2(saved, 2);
    sayLinesOn(2);
    ::close(saved);
    saved = -1;
    char buffer[4096];
    ssize_t got = 0;
    // A bound, should something have written without end.
    for (off_t at = 0; text.size() < 64 * 1024 && (got = ::pread(held, buffer, sizeof buffer, at)) > 0; at += got)
        text.append(buffer, static_cast<std::size_t>(got));
    ::close(held);
    held = -1;
    return text;
}

std::string displayRefusal()
{
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return "";
    using OpenDisplay = void* (*)(const char*);
    using CloseDisplay = int (*)(void*);
    const auto open = loadedFunction<OpenDisplay>("libX11.so.6", "XOpenDisplay");
    const auto close = loadedFunction<CloseDisplay>("libX11.so.6", "XCloseDisplay");
    if (!open || !close)
        return "";
    // The X library writes the server's reason for a refusal on standard error: it is taken here.
    HeldStandardError reason;
    void* display = open(name);
    if (display) {
        close(display);
        return "";
    }
    std::string text = reason.release();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    // Nothing said: nothing answered there.
    if (text.empty())
        return "";
    return "the display " + printableLine(name) + " refused the connection: " + printableLine(text);
}

#else

// Nothing is held here (Windows, a browser): the two descriptors stay -1, as after a release.
HeldStandardError::HeldStandardError() { saved = held = -1; }
HeldStandardError::~HeldStandardError() {}
std::string HeldStandardError::release() { return ""; }
std::string displayRefusal() { return ""; }

#endif
