// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Uploading the world textures and applying the filtering settings.
#include "render/textures.h"

#include "core/settings.h"
#include "render/gl.h"

const char* const TEXTURE_FILES[TEXTURE_COUNT] = {
#define GLACIMOR_TEXTURE_FILE(index, file) file,
    GLACIMOR_TEXTURES(GLACIMOR_TEXTURE_FILE)
#undef GLACIMOR_TEXTURE_FILE
};

int addTexture(const Bitmap& bitmap)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, 16);
    // Rows are padded to 4 bytes: unpack with that alignment and the bitmap's own row length,
    // whatever the text renderer has set for its font.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    const GLint built = gluBuild2DMipmaps(GL_TEXTURE_2D, 3, bitmap.width, bitmap.height, GL_BGR, GL_UNSIGNED_BYTE,
                                          bitmap.pixels.data());
    if (built != 0) {
        glDeleteTextures(1, &name);
        return built;
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
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
    }
}
