// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The world textures in a real context: which file lands at which index, how the pixels
// arrive, what the filter toggles set, and how the loader refuses files it cannot use.
#include "gl_context.h"
#include "world_textures.h"

#include "core/settings.h"
#include "render/mipmap.h"
#include "render/textures.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// A decoded 24-bit BMP: blue-green-red bytes, top row first, no padding.
struct Bgr24 {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
};

std::uint32_t le32(const std::vector<unsigned char>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// Our own reading of a committed texture, to compare with what reached the GL.
Bgr24 readBgr24(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Bgr24 img;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || (b[28] | b[29] << 8) != 24 || le32(b, 30) != 0)
        return img;
    const std::uint32_t offset = le32(b, 10);
    img.width = static_cast<int>(le32(b, 18));
    img.height = static_cast<int>(le32(b, 22)); // positive: rows stored bottom-up
    const std::size_t row = (static_cast<std::size_t>(img.width) * 3 + 3) & ~std::size_t{3};
    if (b.size() < offset + row * img.height)
        return Bgr24{};
    for (int y = img.height - 1; y >= 0; --y) {
        const auto start = b.begin() + offset + row * y;
        img.pixels.insert(img.pixels.end(), start, start + img.width * 3);
    }
    return img;
}

// Level `level` of the bound texture as tightly packed bytes in `format`.
std::vector<unsigned char> boundTexImage(GLenum format, int level = 0)
{
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
    std::vector<unsigned char> out(static_cast<std::size_t>(w) * h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, out.data());
    return out;
}

GLint texParam(GLenum name)
{
    GLint v = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &v);
    return v;
}

void putLE(std::vector<unsigned char>& out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// Writes a BMP of `bits` bits per pixel (8 with a grey palette, 24 or 32), rows given top first,
// each row `width * bits / 8` bytes; the file's rows go bottom-up, padded to 4 bytes.
std::string writeBmp(const std::string& name, int width, int height, int bits,
                     const std::vector<unsigned char>& topFirst)
{
    const std::uint32_t rowData = static_cast<std::uint32_t>(width) * bits / 8;
    const std::uint32_t row = (rowData + 3) & ~3u;
    const std::uint32_t palette = bits == 8 ? 256 * 4 : 0;
    const std::uint32_t offset = 54 + palette;
    std::vector<unsigned char> f{'B', 'M'};
    putLE(f, offset + row * height, 4);
    putLE(f, 0, 4);
    putLE(f, offset, 4);
    putLE(f, 40, 4);
    putLE(f, static_cast<std::uint32_t>(width), 4);
    putLE(f, static_cast<std::uint32_t>(height), 4);
    putLE(f, 1, 2);
    putLE(f, static_cast<std::uint32_t>(bits), 2);
    putLE(f, 0, 4); // no compression
    putLE(f, row * height, 4);
    putLE(f, 2835, 4);
    putLE(f, 2835, 4);
    putLE(f, bits == 8 ? 256 : 0, 4);
    putLE(f, 0, 4);
    for (std::uint32_t i = 0; i < palette / 4; ++i)
        putLE(f, i | i << 8 | i << 16, 4);
    for (int y = height - 1; y >= 0; --y) {
        f.insert(f.end(), topFirst.begin() + rowData * y, topFirst.begin() + rowData * (y + 1));
        f.insert(f.end(), row - rowData, 0xEE); // padding the loader must skip
    }
    const std::string path = testing::TempDir() + "/glacimor_" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(f.data()),
                                                static_cast<std::streamsize>(f.size()));
    return path;
}

// Loads one file with the game's loader, then removes its texture again so the list stays as start-up made it.
struct LoadedTexture {
    bool ok = false;
    std::size_t added = 0;
    std::string stderrText;
};

LoadedTexture loadAndCapture(const std::string& path)
{
    const std::size_t before = textureList.size();
    testing::internal::CaptureStderr();
    LoadedTexture result;
    result.ok = loadBMP(path.c_str());
    result.stderrText = testing::internal::GetCapturedStderr();
    result.added = textureList.size() - before;
    return result;
}

void dropLastTexture()
{
    const GLuint name = textureList.back();
    glDeleteTextures(1, &name);
    textureList.pop_back();
}

class SettingsGuard {
public:
    ~SettingsGuard()
    {
        set_filtering = filtering;
        set_mipmap = mipmap;
        set_aniso = aniso;
    }

private:
    bool filtering = set_filtering, mipmap = set_mipmap, aniso = set_aniso;
};

const char* const FILES[] = {"textures/cubeface.bmp", "textures/cubeface2.bmp", "textures/wall.bmp",
                             "textures/iceground.bmp"};

} // namespace

TEST(Textures, FourFilesLandInOrderWithTheirTopRowAtTZero)
{
    // Other tests may have loaded the world already; the four new names follow theirs.
    const std::size_t first = textureList.size();
    ASSERT_TRUE(createTextures());
    ASSERT_EQ(textureList.size(), first + 4);
    for (unsigned i = 0; i < 4; ++i) {
        SCOPED_TRACE(FILES[i]);
        const Bgr24 file = readBgr24(FILES[i]);
        ASSERT_GT(file.width, 0) << "not an uncompressed 24-bit BMP";
        ASSERT_TRUE(glIsTexture(textureList[first + i]));
        glBindTexture(GL_TEXTURE_2D, textureList[first + i]);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        EXPECT_EQ(w, file.width);
        EXPECT_EQ(h, file.height);
        // The whole image arrives unchanged, its top row as texture row 0; the two face
        // files have the same size, so only their pixels tell them apart.
        EXPECT_TRUE(boundTexImage(GL_BGR) == file.pixels);
        // A full mipmap chain down to one texel.
        GLint last = 0;
        int levels = 0;
        for (int size = std::max(w, h); size > 1; size /= 2)
            ++levels;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, levels, GL_TEXTURE_WIDTH, &last);
        EXPECT_EQ(last, 1);
        EXPECT_EQ(texParam(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(texParam(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        EXPECT_EQ(texParam(GL_TEXTURE_MAX_ANISOTROPY_EXT), 16);
    }
    for (unsigned i = 0; i < 4; ++i)
        for (unsigned j = i + 1; j < 4; ++j)
            EXPECT_NE(textureList[first + i], textureList[first + j]);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(Textures, FilterTogglesSetEveryTextureAndLeaveTheLastBound)
{
    ASSERT_TRUE(gltest::ensureWorldTextures());
    SettingsGuard restore;
    struct Case {
        bool filtering, mipmap;
        GLint minFilter, magFilter;
    };
    const Case cases[] = {
        {true, true, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
        {true, false, GL_LINEAR, GL_LINEAR},
        {false, true, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST},
        {false, false, GL_NEAREST, GL_NEAREST},
    };
    for (bool aniso : {false, true})
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "filtering " << c.filtering << ", mipmap " << c.mipmap
                                            << ", aniso " << aniso);
            set_filtering = c.filtering;
            set_mipmap = c.mipmap;
            set_aniso = aniso;
            glBindTexture(GL_TEXTURE_2D, 0);
            setTexMode();
            GLint bound = 0;
            glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
            EXPECT_EQ(static_cast<unsigned>(bound), textureList.back());
            for (unsigned texture : textureList) {
                glBindTexture(GL_TEXTURE_2D, texture);
                EXPECT_EQ(texParam(GL_TEXTURE_MIN_FILTER), c.minFilter);
                EXPECT_EQ(texParam(GL_TEXTURE_MAG_FILTER), c.magFilter);
                EXPECT_EQ(texParam(GL_TEXTURE_MAX_ANISOTROPY_EXT), aniso ? 16 : 1);
            }
        }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(Textures, PaddedRowsUploadIntact)
{
    // The text renderer leaves its own unpack state behind; a texture loaded after it must not care.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 256);
    // Two pixels a row are 6 bytes, padded to 8 in the file and in SDL's surface.
    const std::vector<unsigned char> bgr = {
        0, 0, 255, 0, 255, 0,   // top: red, green
        255, 0, 0, 10, 20, 30,  // bottom: blue, a dark brown
    };
    const LoadedTexture small = loadAndCapture(writeBmp("2x2.bmp", 2, 2, 24, bgr));
    ASSERT_TRUE(small.ok) << small.stderrText;
    ASSERT_EQ(small.added, 1u);
    glBindTexture(GL_TEXTURE_2D, textureList.back());
    EXPECT_TRUE(boundTexImage(GL_BGR) == bgr);
    dropLastTexture();

    // One pixel a row: 3 bytes, padded to 4.
    const std::vector<unsigned char> column = {
        10, 20, 30, 200, 180, 160, 0, 255, 255, 90, 0, 45,
    };
    const LoadedTexture thin = loadAndCapture(writeBmp("1x4.bmp", 1, 4, 24, column));
    ASSERT_TRUE(thin.ok) << thin.stderrText;
    glBindTexture(GL_TEXTURE_2D, textureList.back());
    EXPECT_TRUE(boundTexImage(GL_BGR) == column);
    dropLastTexture();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(Textures, UnusableFilesAreRefusedByName)
{
    const std::vector<unsigned char> grey(4 * 4, 128);
    const std::vector<unsigned char> bgra(4 * 4 * 4, 200);
    const std::string garbagePath = testing::TempDir() + "/glacimor_garbage.bmp";
    std::ofstream(garbagePath) << "this is not a bitmap at all, only words";
    const std::string files[] = {
        testing::TempDir() + "/glacimor_no_such_texture.bmp",
        writeBmp("paletted.bmp", 4, 4, 8, grey),
        writeBmp("alpha.bmp", 4, 4, 32, bgra),
        garbagePath,
    };
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const LoadedTexture result = loadAndCapture(file);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.added, 0u);
        EXPECT_NE(result.stderrText.find(file), std::string::npos) << result.stderrText;
    }
    std::remove(garbagePath.c_str());
}

TEST(Textures, APictureThatCannotBeUploadedAddsNoTexture)
{
    // A picture without pixels is refused as one the driver has no memory for: with GL's error,
    // and no half-made texture joins the list.
    const std::size_t before = textureList.size();
    Bitmap empty;
    EXPECT_EQ(addTexture(empty), static_cast<unsigned>(GL_INVALID_VALUE));
    Bitmap shortOfRows; // says 4 x 4, holds one row
    shortOfRows.width = 4;
    shortOfRows.height = 4;
    shortOfRows.pixels.assign(static_cast<std::size_t>(shortOfRows.stride()), 0);
    EXPECT_EQ(addTexture(shortOfRows), static_cast<unsigned>(GL_INVALID_VALUE));
    EXPECT_EQ(textureList.size(), before);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    // The names a refusal prints, as GL spells them.
    EXPECT_STREQ(glErrorName(GL_INVALID_VALUE), "invalid value");
    EXPECT_STREQ(glErrorName(GL_OUT_OF_MEMORY), "out of memory");
    EXPECT_STREQ(glErrorName(0x1234), "unknown GL error");
}

TEST(Textures, EveryLevelDownToOnePixelIsTheBoxFilterOfTheOneAbove)
{
    // A 4 x 2 picture: levels 4 x 2, 2 x 1 and 1 x 1, read back as GL holds them.
    Bitmap picture;
    picture.width = 4;
    picture.height = 2;
    picture.pixels = {0, 0, 0, 10, 20, 30, 200, 100, 0, 255, 255, 255, //
                      1, 1, 1, 11, 21, 31, 201, 101, 1, 255, 255, 254};
    ASSERT_EQ(addTexture(picture), 0u);
    EXPECT_EQ(gltest::levelParameter(2, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(gltest::levelParameter(2, GL_TEXTURE_HEIGHT), 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    unsigned char level1[6] = {};
    glGetTexImage(GL_TEXTURE_2D, 1, GL_BGR, GL_UNSIGNED_BYTE, level1);
    // (0 + 10 + 1 + 11 + 2) / 4 = 6, (20 + 21 + 1 + 2) / 4 = 11, ...; (255 * 3 + 254 + 2) / 4 = 255.
    EXPECT_EQ(std::vector<unsigned char>(level1, level1 + 6), (std::vector<unsigned char>{6, 11, 16, 228, 178, 128}));
    unsigned char level2[3] = {};
    glGetTexImage(GL_TEXTURE_2D, 2, GL_BGR, GL_UNSIGNED_BYTE, level2);
    EXPECT_EQ(std::vector<unsigned char>(level2, level2 + 3), (std::vector<unsigned char>{117, 95, 72}));
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    GLuint name = textureList.back();
    textureList.pop_back();
    glDeleteTextures(1, &name);
}

TEST(Textures, LyingHeadersAreRefusedAtOnceWithoutMemory)
{
    // A real 64 x 64 texture whose header is then made to claim more than the file holds, or more
    // than any texture of the driver may be: once 36 s and 12.7 GB before the decoder gave up.
    const std::vector<unsigned char> pixels(64 * 64 * 3, 90);
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    const std::uint32_t claims[][2] = {{65536, 65536},
                                       {static_cast<std::uint32_t>(maxSide), static_cast<std::uint32_t>(maxSide)},
                                       {64, 65}};
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    for (const auto& claim : claims) {
        const std::string path = writeBmp("lying.bmp", 64, 64, 24, pixels);
        {
            std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(18);
            for (const std::uint32_t side : claim)
                for (int i = 0; i < 4; ++i)
                    file.put(static_cast<char>(side >> (8 * i)));
        }
        SCOPED_TRACE(std::to_string(claim[0]) + " x " + std::to_string(claim[1]));
        const auto start = std::chrono::steady_clock::now();
        const LoadedTexture result = loadAndCapture(path);
        const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.added, 0u);
        EXPECT_EQ(result.stderrText.rfind("glacimor: cannot use texture " + path + ": its header claims ", 0), 0u)
            << result.stderrText;
        EXPECT_EQ(std::count(result.stderrText.begin(), result.stderrText.end(), '\n'), 1);
        EXPECT_LT(ms, 100.0);
        std::remove(path.c_str());
    }
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    // The process's peak resident size (kB) did not grow by the pictures' claimed size.
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 32 * 1024);
}
