// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Making the world textures of their files, uploading a bitmap and applying the filtering settings.
#include "render/textures.h"

#include "core/printable.h"
#include "core/settings.h"
#include "render/gl.h"
#include "render/mipmap.h"
#include "render/pipeline.h"

#include <cstdio>
#include <cstring>
#include <string>

const char* const TEXTURE_FILES[TEXTURE_COUNT] = {
#define GLACIMOR_TEXTURE_FILE(index, file) file,
    GLACIMOR_TEXTURES(GLACIMOR_TEXTURE_FILE)
#undef GLACIMOR_TEXTURE_FILE
};

namespace {

bool refuse(const char* file, const std::string& reason)
{
    std::fprintf(stderr, "glacimor: cannot use texture %s: %s\n", printableLine(file).c_str(),
                 printableLine(reason).c_str());
    return false;
}

// The bitmap's rows with red first, as both GL flavours take them (WebGL 1 knows no GL_BGR).
Bitmap redFirst(const Bitmap& bgr)
{
    Bitmap rgb = bgr;
    for (int y = 0; y < rgb.height; ++y) {
        unsigned char* row = rgb.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(rgb.stride());
        for (int x = 0; x < rgb.width; ++x)
            std::swap(row[3 * x], row[3 * x + 2]);
    }
    return rgb;
}

} // namespace

bool anisotropicFiltering()
{
    // Asked once: the answer belongs to the driver, and the frame sets the filtering every time.
    static const bool offered = [] {
        const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
        if (extensions && std::strstr(extensions, "texture_filter_anisotropic"))
            return true;
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        std::fprintf(stderr,
                     "glacimor: the OpenGL driver offers %s without EXT_texture_filter_anisotropic; "
                     "textures are drawn without anisotropic filtering\n",
                     version ? ("OpenGL " + printableLine(version)).c_str() : "an unknown OpenGL version");
        return false;
    }();
    return offered;
}

bool createTextures()
{
    for (const char* file : TEXTURE_FILES)
        if (!loadBMP(file))
            return false;
    return true;
}

bool loadBMP(const char* file)
{
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    Bitmap bitmap;
    std::string why;
    if (!decodeBmpFile(file, maxSide, bitmap, why))
        return refuse(file, why);
    // Every level is a copy for the driver: that memory may be refused too.
    if (const unsigned error = addTexture(bitmap))
        return refuse(file, glErrorName(error));
    return true;
}

unsigned addTexture(const Bitmap& bitmap)
{
    if (bitmap.width < 1 || bitmap.height < 1 ||
        bitmap.pixels.size() < static_cast<std::size_t>(bitmap.stride()) * static_cast<std::size_t>(bitmap.height))
        return GL_INVALID_VALUE;
    // An earlier step's error must not be taken for this upload's (bounded: a lost context may
    // report one for ever).
    for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; ++i) {
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (anisotropicFiltering())
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, 16);
    // Rows are padded to 4 bytes, on every level: unpack with that alignment and the bitmap's own
    // row length, whatever the pixel store held before.
    unpackRowsAlignedTo(4);
    // Every level down to one pixel, each made of the one above by the game's own box filter.
    const Bitmap top = redFirst(bitmap);
    Bitmap smaller;
    const Bitmap* level = &top;
    for (GLint index = 0;; ++index) {
        glTexImage2D(GL_TEXTURE_2D, index, GL_RGB, level->width, level->height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     level->pixels.data());
        if (level->width == 1 && level->height == 1)
            break;
        smaller = halveBitmap(*level);
        level = &smaller;
    }
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        return error;
    }
    textureList.push_back(name);
    return 0;
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
        if (anisotropicFiltering())
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
    }
}
