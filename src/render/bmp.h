// Reading the world textures' BMP files: the header checked here against the file's size and the
// driver's largest texture, the pixels decoded by the decoder the platform installs (SDL's), the
// bitmap uploaded (render/textures.h).
#ifndef GLACIMOR_RENDER_BMP_H
#define GLACIMOR_RENDER_BMP_H

#include "render/textures.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Loads the four files of TEXTURE_FILES in index order. Needs a current GL context and a decoder.
// Returns false at the first missing or unusable file, having named it on standard error.
bool createTextures();

// Loads one uncompressed 24-bit BMP into a new mipmapped texture and appends its name to textureList.
// Returns false, having printed why on standard error, when the file is missing or unusable.
bool loadBMP(const char* file);

// The bytes of a BMP file that checkBmpHeader needs: the file header and the longest info header.
constexpr std::size_t BMP_HEADER_BYTES = 14 + 124;

// What a checked BMP header says.
struct BmpLayout {
    int width = 0;
    int height = 0;              // rows, positive; a top-down file stores its height negated
    std::uint64_t pixelsEnd = 0; // the offset just past the last row: the bytes the decoder reads
};

// Checks the first `count` bytes of a BMP file (up to BMP_HEADER_BYTES) against the file's size
// and the driver's largest texture side, before anything is decoded or allocated: a file too
// short for its header, another format than an uncompressed 24-bit BMP, a width or height that is
// zero or negative (a top-down file's negative height aside), a side larger than maxTextureSide,
// or more pixels than the file's bytes can hold. Returns false with the reason in `why`.
bool checkBmpHeader(const unsigned char* bytes, std::size_t count, std::uint64_t fileSize, int maxTextureSide,
                    BmpLayout& layout, std::string& why);

// The seam through which the pixels are decoded: given the bytes of a file whose header has been
// checked (its headers and every row), fills the bitmap, or says why not. The platform's bring-up
// installs SDL's decoder; without one, every file is refused.
using BmpDecoder = bool (*)(const std::vector<unsigned char>& bytes, Bitmap& bitmap, std::string& why);
void setBmpDecoder(BmpDecoder decoder);

#endif
