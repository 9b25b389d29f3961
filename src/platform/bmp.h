// Reading the world textures' BMP files: SDL decodes them, render/textures.h uploads them.
#ifndef GLACIMOR_PLATFORM_BMP_H
#define GLACIMOR_PLATFORM_BMP_H

// Loads the four files of TEXTURE_FILES in index order. Needs a current GL context.
// Returns false at the first missing or unusable file, having named it on standard error.
bool createTextures();

// Loads one uncompressed 24-bit BMP into a new mipmapped texture and appends its name to textureList.
// Returns false, having printed why on standard error, when the file is missing or unusable.
bool loadBMP(const char* file);

#endif
