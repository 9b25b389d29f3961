// The four world textures, loaded from textures/ at start-up, and their filtering.
#ifndef GLACIMOR_RENDER_TEXTURES_H
#define GLACIMOR_RENDER_TEXTURES_H

// Indices into textureList.
enum : unsigned {
    TEX_CUBEFACE = 0,      // a living figure's face
    TEX_CUBEFACE_DEAD = 1, // a dead body's face
    TEX_WALL = 2,          // walls and ceiling
    TEX_ICEGROUND = 3,     // the floor
};

// Loads the four files in index order. Needs a current GL context.
// Returns false at the first missing or unusable file, having named it on standard error.
bool createTextures();

// Loads one uncompressed 24-bit BMP into a new mipmapped texture and appends its name to textureList.
// Returns false, having printed why on standard error, when the file is missing or unusable.
bool loadBMP(const char* file);

// Applies set_filtering, set_mipmap and set_aniso to every texture; leaves the last one bound.
void setTexMode();

#endif
