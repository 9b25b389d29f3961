// Loading the world textures from BMP files and applying the filtering settings.
#include "render/textures.h"

#include "globals.h"
#include "render/gl.h"
#include "settings.h"

#include <SDL.h>

#include <cstdio>

namespace {

const char* const TEXTURE_FILES[] = {
    "textures/cubeface.bmp",
    "textures/cubeface2.bmp",
    "textures/wall.bmp",
    "textures/iceground.bmp",
};

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

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, 16);
    // SDL pads each row to 4 bytes: unpack with that alignment and the surface's own row
    // length, whatever the text renderer has set for its font.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, surface->w, surface->h, GL_BGR, GL_UNSIGNED_BYTE, surface->pixels);
    SDL_FreeSurface(surface);
    textureList.push_back(name);
    return true;
}

bool createTextures()
{
    for (const char* file : TEXTURE_FILES)
        if (!loadBMP(file))
            return false;
    return true;
}

void setTexMode()
{
    GLint minFilter, magFilter;
    if (set_filtering) {
        minFilter = set_mipmap ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
        magFilter = GL_LINEAR;
    } else {
        minFilter = set_mipmap ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST;
        magFilter = GL_NEAREST;
    }
    const GLint anisotropy = set_aniso ? 16 : 1;
    for (unsigned texture : textureList) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
    }
}
