// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Game controllers through SDL: opened and closed by their events, read once a frame.
#include "platform/gamepad.h"

#include "core/printable.h"
#include "game/gamepad_policy.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Pad {
    SDL_GameController* controller;
    SDL_JoystickID id;
    PadState state;
};

std::vector<Pad> pads;

// One axis as a share of its travel, -1 to 1 (a trigger 0 to 1).
double travel(const Pad& pad, SDL_GameControllerAxis axis)
{
    return std::clamp(SDL_GameControllerGetAxis(pad.controller, axis) / 32767.0, -1.0, 1.0);
}

void readAxes(Pad& pad)
{
    pad.state.leftX = travel(pad, SDL_CONTROLLER_AXIS_LEFTX);
    pad.state.leftY = travel(pad, SDL_CONTROLLER_AXIS_LEFTY);
    pad.state.rightX = travel(pad, SDL_CONTROLLER_AXIS_RIGHTX);
    pad.state.rightY = travel(pad, SDL_CONTROLLER_AXIS_RIGHTY);
    pad.state.leftTrigger = travel(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    pad.state.rightTrigger = travel(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
}

void openPad(int deviceIndex)
{
    if (!SDL_IsGameController(deviceIndex))
        return;
    // Those plugged in at the start are opened by startGamepads and announced once more by SDL.
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    for (const Pad& pad : pads)
        if (pad.id == id)
            return;
    if (SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex))
        pads.push_back(Pad{controller, id, PadState{}});
}

void closePad(SDL_JoystickID id)
{
    const auto pad = std::find_if(pads.begin(), pads.end(), [id](const Pad& p) { return p.id == id; });
    if (pad == pads.end())
        return;
    SDL_GameControllerClose(pad->controller);
    pads.erase(pad);
}

PadButton padButton(Uint8 button)
{
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return PadButton::A;
    case SDL_CONTROLLER_BUTTON_B: return PadButton::B;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return PadButton::LeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return PadButton::RightShoulder;
    default: return PadButton::Other;
    }
}

} // namespace

void startGamepads()
{
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) < 0) {
        std::fprintf(stderr, "glacimor: no game controllers: %s\n", printableLine(SDL_GetError()).c_str());
        return;
    }
    // The sticks and triggers are read as they stand once a frame. Their motion as events, many
    // hundred a second from a stick that is never quite still, would only fill SDL's queue.
    for (Uint32 type : {SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYHATMOTION, SDL_CONTROLLERAXISMOTION,
                        SDL_CONTROLLERTOUCHPADDOWN, SDL_CONTROLLERTOUCHPADMOTION, SDL_CONTROLLERTOUCHPADUP,
                        SDL_CONTROLLERSENSORUPDATE})
        SDL_EventState(type, SDL_IGNORE);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        openPad(i);
}

bool dispatchGamepadEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: openPad(event.cdevice.which); return true;
    case SDL_CONTROLLERDEVICEREMOVED: closePad(event.cdevice.which); return true;
    case SDL_CONTROLLERBUTTONDOWN: pressPadButton(padButton(event.cbutton.button)); return true;
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERDEVICEREMAPPED: return true;
    default: return false;
    }
}

void pollGamepads(Ticks elapsed)
{
    PadFrame frame;
    for (Pad& pad : pads) {
        readAxes(pad);
        frame.play(pad.state);
    }
    frame.end(elapsed);
}

int gamepadCount() { return static_cast<int>(pads.size()); }

void closeGamepads()
{
    for (const Pad& pad : pads)
        SDL_GameControllerClose(pad.controller);
    pads.clear();
    forgetPads();
}
