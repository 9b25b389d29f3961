// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The heads-up display: three coloured text lines, the running seconds and the end-of-game
// screen, drawn over the scene. The labels that float in the world are ui/labels.h's.
#ifndef GLACIMOR_UI_GUI_H
#define GLACIMOR_UI_GUI_H

#include <sstream>
#include <string>

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

#endif
