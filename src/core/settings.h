// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's settings: compiled-in defaults, some flipped at run time by their keys (F1 to F9, M).
// Plain globals, read directly by every subsystem.
#ifndef GLACIMOR_CORE_SETTINGS_H
#define GLACIMOR_CORE_SETTINGS_H

// Every setting once: its type, its name, its compiled-in default and the word by which the state
// report tells it to the end-to-end tests. A setting that a key flips is KEYED, with that key (a
// name of Key, core/input.h, which is also the name the player reads on it) and the HUD's messages
// for on and off; the order of the KEYED lines is the order of the keys. The definitions, the
// restore, the state report and the settings keys (game/controls.h) all come from this table, so a
// new setting, with its key or without, is one line here (a key the game has not known yet needs
// its name in Key and its translation in the platform's events as well).
#define GLACIMOR_SETTINGS(SETTING, KEYED)                                                              \
    /* enemies in reach do no harm */                                                                  \
    KEYED(bool, set_god, false, "god", F1, "godmode on", "godmode off")                                \
    /* the FPS line at the top left */                                                                 \
    KEYED(bool, set_fpscounter, true, "fpscounter", F2, "fps counter on", "fps counter off")           \
    /* polygons drawn as lines (the HUD stays filled) */                                               \
    KEYED(bool, set_wireframe, false, "wireframe", F3, "wireframe on", "wireframe off")                \
    /* linear rather than nearest texture filtering */                                                 \
    KEYED(bool, set_filtering, true, "filtering", F4, "texture filtering on", "texture filtering off") \
    /* mipmapped minification */                                                                       \
    KEYED(bool, set_mipmap, true, "mipmap", F5, "mipmaps on", "mipmaps off")                           \
    /* anisotropy 16 rather than 1 */                                                                  \
    KEYED(bool, set_aniso, true, "aniso", F6, "AF on", "AF off")                                       \
    /* scene and snow drawn with the GLSL programs */                                                  \
    KEYED(bool, set_shading, true, "shading", F7, "shading on", "shading off")                         \
    /* only the snow within 57 units of the light */                                                   \
    KEYED(bool, set_culling, true, "culling", F8, "culling on", "culling off")                         \
    /* blending on */                                                                                  \
    KEYED(bool, set_alpha, true, "alpha", F9, "alpha on", "alpha off")                                 \
    /* the game's sound */                                                                             \
    KEYED(bool, set_sound, true, "sound", M, "sound on", "sound off")                                  \
    /* current spawn interval, ms; shrinks with every spawn */                                         \
    SETTING(double, set_spawntime, 2000.0, "spawntime")                                                \
    /* factor applied to set_spawntime after every spawn */                                            \
    SETTING(double, set_spawnscale, 0.995, "spawnscale")                                               \
    /* read once at start-up: full screen or 800 x 600 */                                              \
    SETTING(bool, set_fullscreen, true, "fullscreen")                                                  \
    /* read once at start-up: swap control requested */                                                \
    SETTING(bool, set_vsync, false, "vsync")                                                           \
    /* the player has died; set once, never reset */                                                   \
    SETTING(bool, set_endgame, false, "endgame")                                                       \
    /* ticks of the game clock at the moment of death */                                               \
    SETTING(double, set_score, 0.0, "score")

// For a use of the table that treats every setting alike: GLACIMOR_SETTINGS(X, X), with X taking
// (type, name, value, report, ...).

#define GLACIMOR_DECLARE_SETTING(type, name, value, ...) extern type name;
GLACIMOR_SETTINGS(GLACIMOR_DECLARE_SETTING, GLACIMOR_DECLARE_SETTING)
#undef GLACIMOR_DECLARE_SETTING

// Puts every setting back to its compiled-in default, as at start-up. For tests and the benchmark.
void restoreDefaultSettings();

#endif
