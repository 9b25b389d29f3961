// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Event handling in the game's terms: held keys, mouse motion, the wheel, the settings keys,
// the attacks and quitting.
#include "game/controls.h"

#include "actors/player.h"
#include "actors/effect.h"
#include "core/settings.h"
#include "game/sound.h"
#include "ui/gui.h"

namespace {

// The held-key flag a key drives, or null.
bool* heldFlag(Key key)
{
    switch (key) {
    case Key::W: return &input.keyW;
    case Key::A: return &input.keyA;
    case Key::S: return &input.keyS;
    case Key::D: return &input.keyD;
    case Key::Up: return &input.keyUp;
    case Key::Down: return &input.keyDown;
    case Key::Left: return &input.keyLeft;
    case Key::Right: return &input.keyRight;
    default: return nullptr;
    }
}

void flip(const SettingsKey& toggle)
{
    *toggle.setting = !*toggle.setting;
    gui.setText3(*toggle.setting ? toggle.onText : toggle.offText, 1.0, 1.0, 1.0);
    noteSettingsKey();
}

// A burst is heard once, with the number of enemies it reached; a player who cannot fight fires none.
void burst(void (Player::*style)(), Sound sound)
{
    const bool fires = player.state == STATE_ACTIVE;
    const std::size_t before = effectList.size();
    (player.*style)();
    if (fires)
        noteBurst(sound, effectList.size() - before);
}

Request keyDown(Key key)
{
    if (bool* flag = heldFlag(key)) {
        *flag = true;
        return Request::None;
    }
    for (const SettingsKey& toggle : SETTINGS_KEYS) {
        if (toggle.key == key) {
            flip(toggle);
            return Request::None;
        }
    }
    switch (key) {
    case Key::Escape: return Request::Quit;
    case Key::F: return Request::ToggleFullScreen;
    // The number keys fire the attacks, once per press.
    case Key::Num1: burst(&Player::style1, Sound::Stun); break;
    case Key::Num2: burst(&Player::style2, Sound::Hit); break;
    case Key::Num3: player.style3(); break;
    case Key::Num4: player.style4(); break;
    default: break;
    }
    return Request::None;
}

void keyUp(Key key)
{
    if (bool* flag = heldFlag(key))
        *flag = false;
}

void mouseButton(Button button, bool pressed)
{
    switch (button) {
    case Button::Left:
        input.mouseLeft = pressed;
        if (pressed)
            burst(&Player::style1, Sound::Stun);
        break;
    case Button::Right:
        input.mouseRight = pressed;
        if (pressed)
            burst(&Player::style2, Sound::Hit);
        break;
    case Button::WheelUp:
        if (pressed)
            player.zoomCamera(true);
        break;
    case Button::WheelDown:
        if (pressed)
            player.zoomCamera(false);
        break;
    default: break;
    }
}

} // namespace

Request handleInput(const InputEvent& event)
{
    switch (event.type) {
    case InputEvent::KeyDown: return keyDown(event.key);
    case InputEvent::KeyUp: keyUp(event.key); break;
    case InputEvent::MouseMotion:
        input.mouseX += event.dx;
        input.mouseY += event.dy;
        break;
    case InputEvent::ButtonDown: mouseButton(event.button, true); break;
    case InputEvent::ButtonUp: mouseButton(event.button, false); break;
    case InputEvent::Quit: return Request::Quit;
    case InputEvent::Ignored: break;
    }
    return Request::None;
}
