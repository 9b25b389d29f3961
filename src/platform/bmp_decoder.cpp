// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A checked BMP file decoded by SDL from memory.
#include "platform/bmp_decoder.h"

#include <SDL.h>

#include <cstring>

bool decodeBmpWithSdl(const std::vector<unsigned char>& bytes, Bitmap& bitmap, std::string& why)
{
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!stream) {
        why = SDL_GetError();
        return false;
    }
    SDL_Surface* surface = SDL_LoadBMP_RW(stream, 1);
    if (!surface) {
        why = SDL_GetError();
        return false;
    }
    // The upload hands the rows over as they are: three bytes a pixel, blue first, no palette.
    const SDL_PixelFormat* format = surface->format;
    if (format->BytesPerPixel != 3 || format->palette || format->Bmask != 0xFF || format->Rmask != 0xFF0000) {
        SDL_FreeSurface(surface);
        why = "not an uncompressed 24-bit BMP";
        return false;
    }

    bitmap.width = surface->w;
    bitmap.height = surface->h;
    const std::size_t stride = static_cast<std::size_t>(bitmap.stride());
    const std::size_t rowBytes = static_cast<std::size_t>(surface->w) * 3;
    bitmap.pixels.assign(stride * static_cast<std::size_t>(surface->h), 0);
    const unsigned char* rows = static_cast<const unsigned char*>(surface->pixels);
    for (int y = 0; y < surface->h; ++y)
        std::memcpy(&bitmap.pixels[stride * static_cast<std::size_t>(y)],
                    rows + static_cast<std::size_t>(y) * surface->pitch, rowBytes);
    SDL_FreeSurface(surface);
    return true;
}
