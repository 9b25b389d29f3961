// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The HUD's text slots, the message timer and the HUD drawing.
#include "ui/gui.h"

#include "actors/endgame.h"
#include "core/clock.h"
#include "core/settings.h"
#include "render/pipeline.h"
#include "ui/quicktext.h"

const char* Gui_textObj::chars()
{
    snapshot = text.str();
    return snapshot.c_str();
}

void Gui_textObj::set(const char* newText, double r, double g, double b)
{
    text.str(std::string());
    text.clear();
    text << newText;
    red = r;
    green = g;
    blue = b;
}

void Gui::setText1(const char* text, double r, double g, double b) { text1.set(text, r, g, b); }

void Gui::setText2(const char* text, double r, double g, double b) { text2.set(text, r, g, b); }

void Gui::setText3(const char* text, double r, double g, double b)
{
    text3.set(text, r, g, b);
    text3Timer = 10.0;
    text3Fresh = true;
}

void Gui::update()
{
    if (text3Timer > 0)
        text3Timer -= frameNormalizer;
    // The frame's time is the time before its keys were read: a frame of a second or more after
    // a slow one (a software renderer under load, a machine waking) would take a message set by
    // its own key before it was ever drawn. Such a message is drawn in this frame and gone in the
    // next; at ordinary frame rates its timer is still running here, and nothing differs.
    if (text3Timer <= 0 && !text3Fresh) {
        text3.text.str(std::string());
        text3.text.clear();
    }
    text3Fresh = false;
}

namespace {

// HUD text size in normalised device coordinates: 0.024 per character, 0.046 per line.
constexpr double HUD_TEXT_SIZE = 0.002;

void drawSlot(Gui_textObj& slot, double x, double y)
{
    setColour(static_cast<float>(slot.red), static_cast<float>(slot.green), static_cast<float>(slot.blue));
    // Stored texts are data, never formats: a '%' in them is drawn as it stands.
    glQuickText::printfAt(x, y, 0, HUD_TEXT_SIZE, "%s", slot.chars());
}

} // namespace

void Gui::render()
{
    // Text drawn as lines would be unreadable: the HUD stays filled in wireframe mode.
    setWireframe(false);
    loadProjection(Matrix4());
    loadModelview(Matrix4());

    drawSlot(text1, -0.99, 0.95);
    drawSlot(text2, -0.99, -0.98);
    drawSlot(text3, -0.03, -0.98);
    // The seconds and the end screen take text3's colour.
    glQuickText::printfAt(-0.02, 0.95, 0, HUD_TEXT_SIZE, "%s", elapsedTime().c_str());
    if (set_endgame) {
        glQuickText::printfAt(-0.25, 0.2, 0, 0.005, "%s", "GAME OVER");
        glQuickText::printfAt(-0.27, 0.1, 0, 0.003, "%s", endScore().c_str());
    }
}
