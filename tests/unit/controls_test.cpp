// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The controls in the game's own terms: events as the platform hands them over (core/input.h),
// straight to handleInput, without the window system.
#include "game_fixture.h"

#include "game/controls.h"

#include <sstream>
#include <string>

namespace {

InputEvent keyDown(Key key)
{
    InputEvent e;
    e.type = InputEvent::KeyDown;
    e.key = key;
    return e;
}

InputEvent keyUp(Key key)
{
    InputEvent e;
    e.type = InputEvent::KeyUp;
    e.key = key;
    return e;
}

// Every setting's value, for seeing which ones an event changed.
std::string settings()
{
    std::ostringstream values;
#define GLACIMOR_SETTING_VALUE(type, name, value, ...) values << #name << '=' << name << ' ';
    GLACIMOR_SETTINGS(GLACIMOR_SETTING_VALUE, GLACIMOR_SETTING_VALUE)
#undef GLACIMOR_SETTING_VALUE
    return values.str();
}

} // namespace

using ControlsTest = GameTest;

TEST_F(ControlsTest, EachSettingsKeyFlipsItsOwnSettingAndSaysItsNewStateOnKeyDown)
{
    for (const SettingsKey& key : SETTINGS_KEYS) {
        const bool before = *key.setting;
        const std::string others = (*key.setting = !before, settings());
        *key.setting = before;
        gui.setText3("", 0.5, 0.5, 0.5);
        gui.text3Timer = 0;

        EXPECT_EQ(handleInput(keyDown(key.key)), Request::None);
        EXPECT_EQ(settings(), others) << key.onText << ": only its own setting flips";
        EXPECT_EQ(text(gui.text3), before ? key.offText : key.onText);
        EXPECT_EQ(gui.text3.red, 1.0) << "messages are white";
        EXPECT_EQ(gui.text3.green, 1.0);
        EXPECT_EQ(gui.text3.blue, 1.0);
        EXPECT_EQ(gui.text3Timer, 10.0) << "shown for a second";

        gui.setText3("kept", 1, 1, 1);
        handleInput(keyUp(key.key));
        EXPECT_EQ(*key.setting, !before) << key.onText << ": the key's release changes nothing";
        EXPECT_EQ(text(gui.text3), "kept");

        handleInput(keyDown(key.key));
        EXPECT_EQ(*key.setting, before) << key.onText << ": the second press flips it back";
        EXPECT_EQ(text(gui.text3), before ? key.onText : key.offText);
    }
}

TEST_F(ControlsTest, EscapeTheCloseRequestAndFAskThePlatformAndNothingElseDoes)
{
    InputEvent quit;
    quit.type = InputEvent::Quit;
    EXPECT_EQ(handleInput(quit), Request::Quit);
    EXPECT_EQ(handleInput(keyDown(Key::Escape)), Request::Quit);
    EXPECT_EQ(handleInput(keyDown(Key::F)), Request::ToggleFullScreen);
    EXPECT_EQ(handleInput(keyUp(Key::Escape)), Request::None) << "a request comes with the press";
    EXPECT_EQ(handleInput(keyUp(Key::F)), Request::None);
    for (Key key : {Key::Other, Key::W, Key::Up, Key::Left, Key::F1, Key::Num1, Key::Num3})
        EXPECT_EQ(handleInput(keyDown(key)), Request::None) << static_cast<int>(key);
    InputEvent ignored;
    EXPECT_EQ(handleInput(ignored), Request::None);
    EXPECT_TRUE(set_fullscreen) << "F toggles the window, not the setting read at start-up";
}

TEST_F(ControlsTest, AGameOfEventsWalksTurnsZoomsAndFights)
{
    // The events of a few frames of play, as the event pump hands them over between frames.
    new Enemy(0, 0, -6);
    frameAt(100);
    handleInput(keyDown(Key::W));
    InputEvent turn;
    turn.type = InputEvent::MouseMotion;
    turn.dx = -600; // 90 degrees to the left: 600 pixels at 0.15 degrees each
    handleInput(turn);
    InputEvent wheel;
    wheel.type = InputEvent::ButtonDown;
    wheel.button = Button::WheelUp;
    handleInput(wheel);
    frameAt(200);
    EXPECT_DOUBLE_EQ(player.camDist, 150.0);
    EXPECT_NEAR(player.pos.z, -1.5, 1e-9) << "a step forward, then the turn";
    EXPECT_NEAR(player.dir.x, -1.0, 1e-9) << "turned to the left";
    handleInput(keyUp(Key::W));
    InputEvent hit;
    hit.type = InputEvent::ButtonDown;
    hit.button = Button::Right;
    handleInput(hit);
    EXPECT_TRUE(input.mouseRight);
    EXPECT_EQ(enemyList[0]->hp, 75.0) << "the hit burst reaches the enemy in front";
    frameAt(300);
    EXPECT_NEAR(player.pos.z, -1.5, 1e-9) << "W released: the player stands";
    EXPECT_NEAR(player.pos.x, 0.0, 1e-9);
}
