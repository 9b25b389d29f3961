// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// SDL's decoding of the world textures' BMP files, installed behind render/bmp.h's seam.
#ifndef GLACIMOR_PLATFORM_BMP_DECODER_H
#define GLACIMOR_PLATFORM_BMP_DECODER_H

#include "render/bmp.h"

#include <string>
#include <vector>

// Decodes the bytes of a checked BMP file with SDL into a bitmap of three bytes a pixel, blue
// first, rows padded to four bytes, the top row first. False, with SDL's reason or the format's in
// `why`, when SDL cannot decode it or decodes it into anything else.
bool decodeBmpWithSdl(const std::vector<unsigned char>& bytes, Bitmap& bitmap, std::string& why);

#endif
