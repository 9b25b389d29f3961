// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the player's keys and buttons do: walking keys held, the settings keys with their HUD
// messages, the attacks, the camera wheel and quitting. Events arrive in the game's own terms
// (core/input.h); the platform translates them and carries out what is asked of it.
#ifndef GLACIMOR_GAME_CONTROLS_H
#define GLACIMOR_GAME_CONTROLS_H

#include "core/input.h"

// What an event asks of the platform beyond the game state it changes.
enum class Request {
    None,
    Quit,             // Escape or the window's close request: this frame is the last
    ToggleFullScreen, // F
};

// A settings key: on its key-down the setting flips and the HUD's message line says, in white,
// the text of its new state.
struct SettingsKey {
    Key key;
    bool* setting;
    const char* onText;
    const char* offText;
};

// F1 to F9 and M, the one list of the settings keys and their messages.
extern const SettingsKey SETTINGS_KEYS[10];

// Hands one event to the input record, the settings, the HUD and the player.
Request handleInput(const InputEvent& event);

#endif
