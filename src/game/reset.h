// Putting the world back as the program has it when main starts, for the tests and the benchmark.
#ifndef GLACIMOR_GAME_RESET_H
#define GLACIMOR_GAME_RESET_H

// Deletes every effect and enemy (effects first: they refer to enemies), unlinks the obstacles
// (they belong to whoever made them), restores the settings, the player, the input, the camera,
// the light's position, the clocks, the frame counter and the HUD, and places the snow again
// from the generator's default state, so that the random sequence continues as in a fresh run.
// The GL resources (textures, programs) and the tick source are left as they are.
void resetWorld();

#endif
