// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A game controller for the end-to-end tests, without hardware: preloaded into the real glacimor
// after the probe (LD_PRELOAD="probe pad"), it plugs SDL's virtual controller in and plays it. It
// does not wrap the buffer swap itself: it hands the probe (tools/play/probe.cpp) its reading of
// the commands as the library is loaded, and the probe calls it after each swap.
//
//   GLACIMOR_PAD_COMMANDS=FILE   after every buffer swap, carries out the lines added to FILE since
//                                the last one, in order, and then rewrites FILE.done with the
//                                number of lines carried out so far:
//     attach                       plugs the controller in (the game opens it as it would a real one)
//     axis NAME VALUE              leftx lefty rightx righty lefttrigger righttrigger, -32768 to
//                                  32767 (a trigger from -32768, let go, as its joystick reports it)
//     button NAME 0|1              a b x y back guide start leftstick rightstick leftshoulder
//                                  rightshoulder dpup dpdown dpleft dpright
//     detach                       pulls it out
//   A line it does not understand is counted and said on standard error.
//
// The game reads what is set at its next frame's events, as it would a controller's.
#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

SDL_Joystick* pad = nullptr;
long offset = 0;      // how far into the command file has been read
long carriedOut = 0;  // lines carried out
std::string partial;  // the start of a line whose end is not written yet

void attach()
{
    if (pad)
        return;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "glacimor test pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0 || !(pad = SDL_JoystickOpen(index))) {
        std::fprintf(stderr, "glacimor pad: attach failed: %s\n", SDL_GetError());
        return;
    }
    // Plugged in with its triggers let go, as a controller on a desk is.
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_JOYSTICK_AXIS_MIN);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MIN);
}

void detach()
{
    if (!pad)
        return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
    SDL_JoystickClose(pad);
    pad = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == id)
            SDL_JoystickDetachVirtual(i);
}

bool carryOut(const std::string& line)
{
    char verb[16] = "", name[32] = "";
    int value = 0;
    const int fields = std::sscanf(line.c_str(), "%15s %31s %d", verb, name, &value);
    const std::string what = verb;
    if (fields == 1 && what == "attach")
        attach();
    else if (fields == 1 && what == "detach")
        detach();
    else if (fields == 3 && what == "axis" && pad && SDL_GameControllerGetAxisFromString(name) != SDL_CONTROLLER_AXIS_INVALID)
        SDL_JoystickSetVirtualAxis(pad, SDL_GameControllerGetAxisFromString(name), static_cast<Sint16>(value));
    else if (fields == 3 && what == "button" && pad &&
             SDL_GameControllerGetButtonFromString(name) != SDL_CONTROLLER_BUTTON_INVALID)
        SDL_JoystickSetVirtualButton(pad, SDL_GameControllerGetButtonFromString(name), value ? 1 : 0);
    else
        return false;
    return true;
}

void readCommands(const char* path)
{
    std::FILE* in = std::fopen(path, "r");
    if (!in)
        return;
    const long before = carriedOut;
    if (std::fseek(in, offset, SEEK_SET) == 0) {
        int c;
        while ((c = std::fgetc(in)) != EOF) {
            ++offset;
            if (c != '\n') {
                partial += static_cast<char>(c);
                continue;
            }
            if (!carryOut(partial))
                std::fprintf(stderr, "glacimor pad: not understood: %s\n", partial.c_str());
            partial.clear();
            ++carriedOut;
        }
    }
    std::fclose(in);
    if (carriedOut == before)
        return;
    const std::string done = std::string(path) + ".done";
    const std::string aside = done + ".new";
    if (std::FILE* out = std::fopen(aside.c_str(), "w")) {
        std::fprintf(out, "%ld\n", carriedOut);
        std::fclose(out);
        std::rename(aside.c_str(), done.c_str());
    }
}

// Between two frames: the commands added since the last swap.
void afterSwap()
{
    if (const char* path = std::getenv("GLACIMOR_PAD_COMMANDS"))
        readCommands(path);
}

// Loaded after the probe, whose functions are then there to be found.
__attribute__((constructor)) void handToTheProbe()
{
    using AddFn = bool (*)(void (*)());
    const auto add = reinterpret_cast<AddFn>(dlsym(RTLD_DEFAULT, "glacimor_probe_after_swap"));
    if (!add || !add(afterSwap))
        std::fprintf(stderr, "glacimor pad: no probe to call it between frames; preload it after "
                             "libglacimor_probe.so\n");
}

} // namespace
