// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The golden frames' scenes drawn in the browser, for `make web-check`: the game's own bring-up on
// a canvas of the golden frames' size with its four samples a pixel, the scenes built by the same
// code under the same scripted clock, and each drawn by the game's own frame when the page asks,
// so that the browser's picture can be set beside the desktop's reference.
//
// The game draws its random numbers from the runtime library's rand(), never seeded. The reference
// pictures were drawn on the desktop, by GNU libc's, and emscripten's libc has another: the scenes
// here draw from GNU libc's sequence (defined below, in place of the library's), so that the snow
// falls where it fell there. The game itself keeps its platform's rand().
//
// The page calls drawGoldenScene(name) (exported to JavaScript); it returns 1 when the scene was
// drawn, 0 for a name that is no scene. window.sceneReady is set once the game is up.
#include "scenes.h"

#include "game/frame.h"
#include "platform/startup.h"

#include <emscripten.h>

#include <cstdint>
#include <cstdio>

namespace {

constexpr int WIDTH = 384; // the golden frames' size
constexpr int HEIGHT = 216;

// GNU libc's rand(): an additive generator over 31 words (each the sum of the words 31 and 3 back),
// seeded by a multiplicative one, its first 310 outputs discarded; the output is the word halved.
bool seeded = false; // constant-initialised: the snow draws during static initialisation
std::uint32_t words[31];
int front = 3;
int back = 0;

std::uint32_t step()
{
    words[front] += words[back];
    const std::uint32_t word = words[front];
    front = (front + 1) % 31;
    back = (back + 1) % 31;
    return word;
}

void seed(unsigned value)
{
    seeded = true;
    std::int32_t word = static_cast<std::int32_t>(value ? value : 1);
    words[0] = static_cast<std::uint32_t>(word);
    for (int i = 1; i < 31; ++i) {
        // 16807 * word mod (2^31 - 1), without overflow (Schrage's method).
        const std::int32_t high = word / 127773;
        const std::int32_t low = word % 127773;
        word = 16807 * low - 2836 * high;
        if (word < 0)
            word += 2147483647;
        words[i] = static_cast<std::uint32_t>(word);
    }
    front = 3;
    back = 0;
    for (int i = 0; i < 310; ++i)
        step();
}

} // namespace

extern "C" void srand(unsigned value) { seed(value); }

extern "C" int rand()
{
    if (!seeded)
        seed(1); // unseeded, the generator starts as seeded with 1
    return static_cast<int>(step() >> 1);
}

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
