// The four world textures, made from the pictures in textures/ at start-up, and their filtering.
// Reading the files is the platform's work (platform/bmp.h); this side only talks to GL.
#ifndef GLACIMOR_RENDER_TEXTURES_H
#define GLACIMOR_RENDER_TEXTURES_H

#include <vector>

// Indices into textureList.
enum : unsigned {
    TEX_CUBEFACE = 0,      // a living figure's face
    TEX_CUBEFACE_DEAD = 1, // a dead body's face
    TEX_WALL = 2,          // walls and ceiling
    TEX_ICEGROUND = 3,     // the floor
};

// The files of the four textures, in index order.
extern const char* const TEXTURE_FILES[4];

extern std::vector<unsigned> textureList; // GL names of the four world textures, by TEX_* index

// A decoded picture as the upload hands it to GL: three bytes a pixel, blue first, each row
// padded to a multiple of four bytes, rows in the order the file's decoder delivers them.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;

    // Bytes from one row's start to the next.
    int stride() const { return (width * 3 + 3) / 4 * 4; }
};

// Makes a new mipmapped texture of the bitmap and appends its name to textureList.
// Needs a current GL context. Returns 0, or GLU's error (gluErrorString) when the mipmaps could
// not be built, out of memory for one; then nothing is added.
int addTexture(const Bitmap& bitmap);

// Applies set_filtering, set_mipmap and set_aniso to every texture; leaves the last one bound.
void setTexMode();

#endif
