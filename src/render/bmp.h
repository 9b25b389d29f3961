// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading a BMP file: its header checked against the file's size and the driver's largest texture
// before anything is decoded, its rows read from where they begin, its pixels decoded into a
// bitmap by the decoder the platform installs (SDL's). No GL: the textures made of the bitmaps are
// render/textures.h's.
#ifndef GLACIMOR_RENDER_BMP_H
#define GLACIMOR_RENDER_BMP_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A decoded picture as the texture upload hands it to GL: three bytes a pixel, blue first, each
// row padded to a multiple of four bytes, rows in the order the file's decoder delivers them.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;

    // Bytes from one row's start to the next.
    int stride() const { return (width * 3 + 3) / 4 * 4; }
};

// The bytes of a BMP file that checkBmpHeader needs: the file header and the longest info header.
constexpr std::size_t BMP_HEADER_BYTES = 14 + 124;

// The largest BMP file that can be a texture of a driver whose largest texture side is
// maxTextureSide: the longest headers and a picture of that size. A larger file is refused unread.
std::uint64_t bmpMaxFileBytes(int maxTextureSide);

// What a checked BMP header says.
struct BmpLayout {
    int width = 0;
    int height = 0;                 // rows, positive; a top-down file stores its height negated
    std::size_t headerBytes = 0;    // the file header and the info header, as the file has them
    std::uint64_t pixelsOffset = 0; // where the rows begin in the file
    std::uint64_t pixelBytes = 0;   // the rows, each padded to a multiple of four bytes
};

// Checks the first `count` bytes of a BMP file (up to BMP_HEADER_BYTES) against the file's size
// and the driver's largest texture side, before anything is decoded or allocated: a file too
// short for its header, another format than an uncompressed 24-bit BMP, a width or height that is
// zero or negative (a top-down file's negative height aside), a side larger than maxTextureSide,
// pixels said to begin inside the header or past the file's end, or more pixels than the file's
// bytes can hold. Returns false with the reason in `why`.
bool checkBmpHeader(const unsigned char* bytes, std::size_t count, std::uint64_t fileSize, int maxTextureSide,
                    BmpLayout& layout, std::string& why);

// Reads a BMP file for the decoder as `image`: its headers, then at once its rows, read from where
// they begin without reading (or holding) whatever lies between. Refuses, with the reason in
// `why`, what cannot be opened as a data file, a file larger than bmpMaxFileBytes, and what
// checkBmpHeader refuses.
bool readBmp(const char* file, int maxTextureSide, std::vector<unsigned char>& image, std::string& why);

// The seam through which the pixels are decoded: given the bytes of a file whose header has been
// checked (its headers and every row), fills the bitmap, or says why not. The platform's bring-up
// installs SDL's decoder; without one, every file is refused.
using BmpDecoder = bool (*)(const std::vector<unsigned char>& bytes, Bitmap& bitmap, std::string& why);
void setBmpDecoder(BmpDecoder decoder);

// The file read by readBmp, then decoded by the installed decoder into `bitmap`. Only the bytes
// the header accounts for are read, and they are decoded from memory: the file is examined once
// and not opened again by path. Returns false with the reason in `why`.
bool decodeBmpFile(const char* file, int maxTextureSide, Bitmap& bitmap, std::string& why);

#endif
