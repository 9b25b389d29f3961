// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The four world textures: their files, made into GL textures at start-up (each file read, checked
// and decoded by render/bmp.h), and their filtering.
#ifndef GLACIMOR_RENDER_TEXTURES_H
#define GLACIMOR_RENDER_TEXTURES_H

#include "render/bmp.h"

#include <vector>

// Every world texture once, in the order of textureList: the name of its index, and its file.
#define GLACIMOR_TEXTURES(X)                                                   \
    X(TEX_CUBEFACE, "textures/cubeface.bmp")       /* a living figure's face */ \
    X(TEX_CUBEFACE_DEAD, "textures/cubeface2.bmp") /* a dead body's face */     \
    X(TEX_WALL, "textures/wall.bmp")               /* walls and ceiling */      \
    X(TEX_ICEGROUND, "textures/iceground.bmp")     /* the floor */

// Indices into textureList.
enum : unsigned {
#define GLACIMOR_TEXTURE_INDEX(index, file) index,
    GLACIMOR_TEXTURES(GLACIMOR_TEXTURE_INDEX)
#undef GLACIMOR_TEXTURE_INDEX
    TEXTURE_COUNT
};

// The files of the textures, in index order.
extern const char* const TEXTURE_FILES[TEXTURE_COUNT];

// GL names of the world textures, by TEX_* index; an object of the world (game/world.h), filled
// once per GL context by createTextures.
extern std::vector<unsigned> textureList;

// Loads the four files of TEXTURE_FILES in index order. Needs a current GL context and a decoder.
// Returns false at the first missing or unusable file, having named it on standard error.
bool createTextures();

// Loads one uncompressed 24-bit BMP into a new mipmapped texture and appends its name to textureList.
// Returns false, having printed why on standard error, when the file is missing or unusable.
bool loadBMP(const char* file);

// Makes a new mipmapped texture of the bitmap and appends its name to textureList.
// Needs a current GL context. Returns 0, or GL's error (glErrorName) when a level could not be
// uploaded, out of memory for one, or GL_INVALID_VALUE for a bitmap without pixels; then nothing is
// added.
unsigned addTexture(const Bitmap& bitmap);

// Applies set_filtering, set_mipmap and set_aniso to every texture; leaves the last one bound.
void setTexMode();

// Whether the driver filters anisotropically (EXT_texture_filter_anisotropic). Asked once; without
// it, one line on standard error says so and the textures are filtered without it (F6 then
// changes nothing).
bool anisotropicFiltering();

#endif
