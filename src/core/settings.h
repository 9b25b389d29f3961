// The game's settings: compiled-in defaults, flipped at run time by F1 to F9.
// Plain globals, read directly by every subsystem.
#ifndef GLACIMOR_CORE_SETTINGS_H
#define GLACIMOR_CORE_SETTINGS_H

extern bool set_shading;      // F7: scene and snow drawn with the GLSL programs
extern bool set_filtering;    // F4: linear rather than nearest texture filtering
extern bool set_mipmap;       // F5: mipmapped minification
extern bool set_aniso;        // F6: anisotropy 16 rather than 1
extern bool set_fpscounter;   // F2: the FPS line at the top left
extern bool set_culling;      // F8: only the snow within 57 units of the light is drawn
extern bool set_alpha;        // F9: blending on
extern double set_spawntime;  // current spawn interval, ms; shrinks with every spawn
extern double set_spawnscale; // factor applied to set_spawntime after every spawn
extern bool set_fullscreen;   // read once at start-up: desktop-sized full screen or 800 x 600
extern bool set_vsync;        // read once at start-up: swap control requested
extern bool set_wireframe;    // F3: polygons drawn as lines (the HUD stays filled)
extern bool set_god;          // F1: enemies in reach do no harm
extern bool set_endgame;      // the player has died; set once, never reset
extern double set_score;      // ticks of the game clock at the moment of death

// Puts every setting back to its compiled-in default, as at start-up. For tests and the benchmark.
void restoreDefaultSettings();

#endif
