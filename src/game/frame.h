// One pass of the frame loop, every step named in the order it runs:
//
//   beginFrame     count the frame, read the clock once (frameNormalizer)
//   pollEvents     the platform's events, translated, into the input and the settings
//                  (platform/events.h: the one step that needs the window system)
//   updateFrame    the world's step, no GL, so that a whole game runs headless:
//                    refresh the FPS line, spawn timer, effects, collect expired effects,
//                    enemies, player, show the hit points, HUD message timer, enemy cap,
//                    light follows the player, camera behind the player, the snow's advance
//   renderFrame    the picture: scene set-up and view, lights, then the opaque world unblended
//                  (enemies, obstacles, player, skybox), blending as the settings say, snow,
//                  then the overlay: effect labels and the HUD
//   (swap)         the platform shows the frame
//
// main() runs them in this order; the unit tests run beginFrame and updateFrame, the same
// steps drawing the same random numbers, so a scripted game is the real game without pictures.
#ifndef GLACIMOR_GAME_FRAME_H
#define GLACIMOR_GAME_FRAME_H

// Counts the frame and reads the clock once, deriving frameNormalizer.
void beginFrame();

// The world's step, in order: refreshFpsLine, runSpawnTimer, the effects' updates,
// collectExpiredEffects, the enemies' updates, player.update, showHitPoints, gui.update,
// capEnemies, moveLight, placeCamera, advanceSnow.
void updateFrame();

// Writes the player's hit points, rounded up, to the HUD's bottom-left line in white.
void showHitPoints();

// The snow's advance: one frame of falling and drifting. The last step of the frame that draws
// from the random sequence, after the spawn timer; the flakes are drawn where it leaves them.
void advanceSnow();

// The start of drawing: texture modes and GL switches from the settings, blending off for the
// opaque world, the clear, and the camera's projection and view.
void beginScene(double aspect);

// After the opaque world: blending on or off as set_alpha says, for the snow and the overlay.
void beginBlending();

// Between the scene and the overlay: the fixed pipeline and an identity modelview. The camera's
// view stays on the projection matrix for the effect labels.
void beginOverlay();

// The HUD over everything, then the scene program selected again for the next frame.
void drawHud();

// Draws the frame with the camera's view: beginScene, the lights, the enemies, the obstacles,
// the player, the skybox, beginBlending, the snow, beginOverlay, drawEffectLabels, drawHud.
void renderFrame(double aspect);

#endif
