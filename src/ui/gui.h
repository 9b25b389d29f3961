// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The heads-up display: three coloured text lines, the running seconds, the end-of-game
// screen, and the labels of status effects floating in the world.
#ifndef GLACIMOR_UI_GUI_H
#define GLACIMOR_UI_GUI_H

#include "actors/effect.h"

#include <cstddef>
#include <sstream>
#include <string>
#include <unordered_set>

// One HUD line: its text and colour.
class Gui_textObj {
public:
    std::stringstream text;
    double red = 1.0;
    double green = 1.0;
    double blue = 1.0;

    // The current text; valid until the text next changes.
    const char* chars();
    void set(const char* newText, double r, double g, double b);

private:
    std::string snapshot;
};

class Gui {
public:
    Gui_textObj text1;        // top left: the frame rate
    Gui_textObj text2;        // bottom left: the player's hit points
    Gui_textObj text3;        // bottom centre: toggle messages, shown for a second
    double text3Timer = 0;    // remaining time of text3, in frameNormalizer units (100 ms)
    bool text3Fresh = false;  // text3 was set since the last update: it is drawn at least once

    void setText1(const char* text, double r, double g, double b);
    void setText2(const char* text, double r, double g, double b);
    // Also shows the message for 10 units (1000 ms of game time).
    void setText3(const char* text, double r, double g, double b);

    // Ages the message once per frame; a message set since the last update stays for this frame
    // even when the frame's time has used up its whole second.
    void update();
    // Draws the HUD, filled, in normalised device coordinates: both matrices are left at identity.
    void render();
};

extern Gui gui; // the heads-up display

// Draws a world label centred on (x, y, z), turned by the player's heading so it reads from behind the player.
void GM_font_3d(double x, double y, double z, const char* text);

// Hands each label on to `out` once per pass: several running effects of one kind on one target
// give the same text at the same place, and the picture of that stack is the picture of one
// label. So a stack costs one label, however many attacks built it; the effects themselves run on.
class DistinctLabels : public WorldLabels {
public:
    // Starts a pass that hands its labels to `out`; forgets the labels of the last pass.
    void begin(WorldLabels& out);
    void label(double x, double y, double z, const char* text) override;

private:
    struct Shown {
        double x, y, z;
        std::string text;
        bool operator==(const Shown& other) const
        {
            return x == other.x && y == other.y && z == other.z && text == other.text;
        }
    };
    struct ShownHash {
        std::size_t operator()(const Shown& shown) const;
    };
    WorldLabels* out = nullptr;
    std::unordered_set<Shown, ShownHash> shown;
};

// Asks every running effect for its label, in list order, and hands each distinct one to `out`.
void passEffectLabels(WorldLabels& out);

// The label pass: every effect's label above its target, filled and green, in the 3D view, each
// distinct label once. Runs after the scene, with the camera still on the projection matrix.
void drawEffectLabels();

#endif
