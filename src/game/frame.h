// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One pass of the frame loop. main() runs, while the game goes on: beginFrame, the platform's
// event pump (platform/events.h), updateFrame, renderFrame, then the platform's buffer swap.
// updateFrame and renderFrame run the steps of two tables in game/frame.cpp, in their order, read
// here through updateSteps and renderSteps: the tables are the one list of a frame's steps
// (docs/ARCHITECTURE.md names them, and a test holds the two together). The unit tests run
// beginFrame and updateFrame, the same steps drawing the same random numbers, so a scripted game
// is the real game without pictures.
#ifndef GLACIMOR_GAME_FRAME_H
#define GLACIMOR_GAME_FRAME_H

#include <cstddef>

// Counts the frame and reads the clock once, deriving frameNormalizer.
void beginFrame();

// A step's entry in its table: its name, written once, and the function of that name, which an
// editor's go-to-definition follows from the table.
#define GLACIMOR_STEP(function) #function, function

// One step of the world's update: no GL, so that a whole game runs headless.
struct UpdateStep {
    const char* name;
    void (*run)();
};

// One step of the drawing. Only the first needs the screen's aspect (width / height). The floor
// steps are the least a frame can draw (the switches, the view, the skybox and the HUD), which the
// benchmark times on their own.
class RenderStep {
public:
    constexpr RenderStep(const char* stepName, void (*draw)(), bool floorStep)
        : name(stepName), floor(floorStep), plain(draw)
    {
    }
    constexpr RenderStep(const char* stepName, void (*draw)(double aspect), bool floorStep)
        : name(stepName), floor(floorStep), withAspect(draw)
    {
    }
    void run(double aspect) const { withAspect ? withAspect(aspect) : plain(); }

    const char* name;
    bool floor;

private:
    void (*plain)() = nullptr;
    void (*withAspect)(double) = nullptr;
};

// A table of steps, in the order they run.
template <typename Step>
struct Steps {
    const Step* first;
    std::size_t count;
    const Step* begin() const { return first; }
    const Step* end() const { return first + count; }
};

Steps<UpdateStep> updateSteps();
Steps<RenderStep> renderSteps();

// The world's step: every update step in order.
void updateFrame();

// Draws the frame with the camera's view: every render step in order.
void renderFrame(double aspect);

// Steps the tests and the benchmark also run on their own.
void showHitPoints(); // the player's hit points, rounded up, on the HUD's bottom-left line in white
void advanceSnow();   // one frame of the snow's falling and drifting; the frame's last random draws
void placeCamera();   // the camera behind the player, looking at it
void beginScene(double aspect); // the settings' GL switches, the clear, the projection and the view
void beginBlending(); // blending on or off as set_alpha says, for the snow and the overlay
void drawHud();       // the HUD over everything, then the scene program selected again

#endif
