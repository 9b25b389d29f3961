// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's settings: compiled-in defaults, flipped at run time by F1 to F9 and M.
// Plain globals, read directly by every subsystem.
#ifndef GLACIMOR_CORE_SETTINGS_H
#define GLACIMOR_CORE_SETTINGS_H

// Every setting once: its type, its name and its compiled-in default. The definitions, the
// restore and the state the end-to-end tests read all come from this table.
#define GLACIMOR_SETTINGS(X)                                                                   \
    X(bool, set_shading, true)       /* F7: scene and snow drawn with the GLSL programs */      \
    X(bool, set_filtering, true)     /* F4: linear rather than nearest texture filtering */     \
    X(bool, set_mipmap, true)        /* F5: mipmapped minification */                          \
    X(bool, set_aniso, true)         /* F6: anisotropy 16 rather than 1 */                      \
    X(bool, set_fpscounter, true)    /* F2: the FPS line at the top left */                     \
    X(bool, set_culling, true)       /* F8: only the snow within 57 units of the light */       \
    X(bool, set_alpha, true)         /* F9: blending on */                                      \
    X(double, set_spawntime, 2000.0) /* current spawn interval, ms; shrinks with every spawn */ \
    X(double, set_spawnscale, 0.995) /* factor applied to set_spawntime after every spawn */    \
    X(bool, set_fullscreen, true)    /* read once at start-up: full screen or 800 x 600 */      \
    X(bool, set_vsync, false)        /* read once at start-up: swap control requested */        \
    X(bool, set_wireframe, false)    /* F3: polygons drawn as lines (the HUD stays filled) */   \
    X(bool, set_god, false)          /* F1: enemies in reach do no harm */                      \
    X(bool, set_endgame, false)      /* the player has died; set once, never reset */           \
    X(double, set_score, 0.0)        /* ticks of the game clock at the moment of death */       \
    X(bool, set_sound, true)         /* M: the game's sound */

#define GLACIMOR_DECLARE_SETTING(type, name, value) extern type name;
GLACIMOR_SETTINGS(GLACIMOR_DECLARE_SETTING)
#undef GLACIMOR_DECLARE_SETTING

// Puts every setting back to its compiled-in default, as at start-up. For tests and the benchmark.
void restoreDefaultSettings();

#endif
