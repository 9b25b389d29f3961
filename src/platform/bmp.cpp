// BMP files decoded by SDL into the bitmaps that become the world textures.
#include "platform/bmp.h"

#include "render/textures.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

namespace {

bool refuse(const char* file, const char* reason)
{
    std::fprintf(stderr, "glacimor: cannot use texture %s: %s\n", file, reason);
    return false;
}

} // namespace

bool loadBMP(const char* file)
{
    SDL_RWops* stream = SDL_RWFromFile(file, "rb");
    if (!stream)
        return refuse(file, "the file is missing or unreadable");
    SDL_Surface* surface = SDL_LoadBMP_RW(stream, 1);
    if (!surface)
        return refuse(file, SDL_GetError());
    // The upload hands the rows over as they are: three bytes a pixel, blue first, no palette.
    const SDL_PixelFormat* format = surface->format;
    if (format->BytesPerPixel != 3 || format->palette || format->Bmask != 0xFF || format->Rmask != 0xFF0000) {
        SDL_FreeSurface(surface);
        return refuse(file, "not an uncompressed 24-bit BMP");
    }

    Bitmap bitmap;
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

    addTexture(bitmap);
    return true;
}

bool createTextures()
{
    for (const char* file : TEXTURE_FILES)
        if (!loadBMP(file))
            return false;
    return true;
}
