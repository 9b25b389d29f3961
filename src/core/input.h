// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Keyboard and mouse in the game's own terms: the held keys and the mouse motion that the
// player consumes, and the events the platform hands over, already translated from the window
// system's codes. Nothing here knows SDL.
#ifndef GLACIMOR_CORE_INPUT_H
#define GLACIMOR_CORE_INPUT_H

#include <cstdint>

class Input {
public:
    bool keyW = false;
    bool keyA = false;
    bool keyS = false;
    bool keyD = false;
    bool keyUp = false;
    bool keyDown = false;
    // Held, but bound to nothing: kept for later attacks and tools.
    bool keyLeft = false;
    bool keyRight = false;
    bool mouseLeft = false;
    bool mouseRight = false;
    std::int32_t mouseX = 0; // summed horizontal motion since the player last consumed it
    std::int32_t mouseY = 0; // summed vertical motion since the player last consumed it
    double mouseSensitivity = 0.15;

    Input() = default;
};

extern Input input; // held keys and unconsumed mouse motion

// The keys the game answers to; every other key arrives as Other and is ignored.
enum class Key {
    Other,
    W, A, S, D,                   // walking
    Up, Down, Left, Right,        // the light's height; Left and Right are only held
    F1, F2, F3, F4, F5, F6, F7, F8, F9, // the settings
    Escape,                       // quits
    F,                            // full screen on and off
    Num1, Num2, Num3, Num4,       // the attacks
    M,                            // sound off and on
};

// The mouse buttons the game answers to; the wheel arrives as a press and a release.
enum class Button {
    Other,
    Left,
    Right,
    WheelUp,
    WheelDown,
};

// One event from the player or the window, as the game sees it.
struct InputEvent {
    enum Type {
        Ignored,     // nothing the game answers to
        KeyDown,
        KeyUp,
        MouseMotion, // dx, dy: relative motion in pixels
        ButtonDown,
        ButtonUp,
        Quit,        // the window's close request
    };
    Type type = Ignored;
    Key key = Key::Other;
    Button button = Button::Other;
    std::int32_t dx = 0;
    std::int32_t dy = 0;
};

#endif
