// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// World labels drawn with the text renderer, turned to the player, and the distinct-label pass.
#include "ui/labels.h"

#include "actors/player.h"
#include "render/pipeline.h"
#include "ui/quicktext.h"

void GM_font_3d(double x, double y, double z, const char* text)
{
    loadModelview(rotatedY(translated(Matrix4(), static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)),
                           static_cast<float>(-player.azimut())));
    glQuickText::printfAt(-1.2, 0, 0, 0.05, "%s", text);
}

namespace {

// Effects write their labels here; each becomes a world label.
class FontLabels : public WorldLabels {
public:
    void label(double x, double y, double z, const char* text) override { GM_font_3d(x, y, z, text); }
};

} // namespace

void DistinctLabels::begin(WorldLabels& target)
{
    out = &target;
    shown.clear();
}

std::size_t DistinctLabels::ShownHash::operator()(const Shown& label) const
{
    std::size_t h = std::hash<std::string>()(label.text);
    for (const double v : {label.x, label.y, label.z})
        h = h * 1000003u ^ std::hash<double>()(v);
    return h;
}

void DistinctLabels::label(double x, double y, double z, const char* text)
{
    if (out && shown.insert(Shown{x, y, z, text}).second)
        out->label(x, y, z, text);
}

void passEffectLabels(WorldLabels& out)
{
    // Kept from pass to pass, so that its buckets are not allocated again every frame.
    static DistinctLabels distinct;
    distinct.begin(out);
    for (std::size_t i = 0; i < effectList.size(); ++i)
        effectList[i]->render(distinct);
}

void drawEffectLabels()
{
    setWireframe(false);
    setColour(0, 1, 0);
    FontLabels labels;
    passEffectLabels(labels);
}
