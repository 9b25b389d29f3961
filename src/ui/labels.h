// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The labels of status effects, floating in the world above their targets: how one is drawn, and
// the pass that draws each distinct label of a frame once.
#ifndef GLACIMOR_UI_LABELS_H
#define GLACIMOR_UI_LABELS_H

#include "actors/effect.h"

#include <cstddef>
#include <string>
#include <unordered_set>

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
