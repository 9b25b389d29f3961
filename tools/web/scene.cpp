// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The golden frames' scenes drawn in the browser, for `make web-check`: the game's own bring-up on
// a canvas of the golden frames' size with its four samples a pixel, the scenes built by the same
// code under the same scripted clock, and each drawn by the game's own frame when the page asks,
// so that the browser's picture can be set beside the desktop's reference.
//
// The page calls drawGoldenScene(name) (exported to JavaScript); it returns 1 when the scene was
// drawn, 0 for a name that is no scene. window.sceneReady is set once the game is up.
#include "scenes.h"

#include "game/frame.h"
#include "platform/startup.h"

#include <emscripten.h>

#include <cstdio>

namespace {

constexpr int WIDTH = 384; // the golden frames' size
constexpr int HEIGHT = 216;

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE int drawGoldenScene(const char* name)
{
    const scenes::GoldenScene* scene = scenes::findGoldenScene(name);
    if (!scene)
        return 0;
    scene->build();
    // Twice, as the desktop's check draws it: the second frame is the one compared.
    renderFrame(static_cast<double>(WIDTH) / HEIGHT);
    renderFrame(static_cast<double>(WIDTH) / HEIGHT);
    scenes::resetScene(0);
    return 1;
}

int main()
{
    BringUp how;
    how.caption = "Glacimor golden frames";
    how.width = WIDTH;
    how.height = HEIGHT;
    Screen screen;
    if (!bringUp(how, screen)) {
        std::fprintf(stderr, "scene: no WebGL context with the game's shaders and textures\n");
        return 1;
    }
    scenes::installScriptedClock();
    EM_ASM(window.sceneReady = true);
    // The page draws from here on: keep the runtime when main returns.
    emscripten_exit_with_live_runtime();
    return 0;
}
