// One pass of the frame loop, split so that the update can run without a window:
// clock, events, update, render. main() calls them in this order, then swaps.
#ifndef GLACIMOR_FRAME_H
#define GLACIMOR_FRAME_H

#include "input.h"

// Counts the frame and reads the clock once, deriving frameNormalizer.
void beginFrame();

// Drains SDL's event queue into the input record and the settings.
void pollEvents(EventContext& context);

// The world's step, no GL: HUD refresh, spawning, effects, enemies, player, HUD timer,
// the enemy cap, the light following the player, and the camera behind it.
void updateFrame();

// The start of drawing: texture modes and GL switches from the settings, the clear, and the
// camera's projection and view.
void beginScene(double aspect);

// The end of drawing: the HUD with the shader off, then the scene program selected again.
void drawHud();

// Draws the frame with the camera's view: texture modes and GL switches from the settings,
// the light, the enemies, the obstacles, the player, the skybox, the snow, then the HUD.
void renderFrame(double aspect);

#endif
