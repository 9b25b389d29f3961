// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// BMP files checked, read from where their rows begin, then decoded into bitmaps.
#include "render/bmp.h"

#include "core/datafile.h"

#include <cstdint>
#include <vector>

namespace {

// Little-endian fields of the headers.
std::uint32_t u16(const unsigned char* p) { return static_cast<std::uint32_t>(p[0] | p[1] << 8); }
std::uint32_t u32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::int64_t s32(const unsigned char* p) { return static_cast<std::int32_t>(u32(p)); }

constexpr std::uint32_t BI_RGB = 0;

BmpDecoder decoder = nullptr;

std::string claimed(std::int64_t width, std::int64_t height)
{
    return "its header claims " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

// A row of the file: three bytes a pixel, padded to a multiple of four.
std::uint64_t paddedRowBytes(std::int64_t width) { return (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4; }

} // namespace

std::uint64_t bmpMaxFileBytes(int maxTextureSide)
{
    const std::int64_t side = maxTextureSide > 0 ? maxTextureSide : 0;
    return BMP_HEADER_BYTES + paddedRowBytes(side) * static_cast<std::uint64_t>(side);
}

bool checkBmpHeader(const unsigned char* bytes, std::size_t count, std::uint64_t fileSize, int maxTextureSide,
                    BmpLayout& layout, std::string& why)
{
    if (count < 18 || bytes[0] != 'B' || bytes[1] != 'M') {
        why = "not a BMP file";
        return false;
    }
    const std::uint32_t offset = u32(bytes + 10);
    const std::uint32_t infoSize = u32(bytes + 14);
    // The OS/2 header (12 bytes) has 16-bit sides; the Windows ones (40 and longer) 32-bit ones.
    const bool core = infoSize == 12;
    if (!core && (infoSize < 40 || infoSize > 124)) {
        why = "not a BMP file (an unknown header)";
        return false;
    }
    if (count < 14 + static_cast<std::size_t>(infoSize)) {
        why = "the file is too short for its header";
        return false;
    }
    const unsigned char* info = bytes + 14;
    const std::int64_t width = core ? static_cast<std::int64_t>(u16(info + 4)) : s32(info + 4);
    const std::int64_t height = core ? static_cast<std::int64_t>(u16(info + 6)) : s32(info + 8);
    const std::uint32_t bits = u16(info + (core ? 10 : 14));
    const std::uint32_t compression = core ? BI_RGB : u32(info + 16);
    if (bits != 24 || compression != BI_RGB) {
        why = "not an uncompressed 24-bit BMP";
        return false;
    }
    // A negative height is a file stored top row first; its rows count as its magnitude.
    const std::int64_t rows = height < 0 ? -height : height;
    if (width <= 0 || height == 0) {
        why = claimed(width, height) + ", which is no picture";
        return false;
    }
    if (width > maxTextureSide || rows > maxTextureSide) {
        why = claimed(width, height) + ", more than this driver's largest texture (" +
              std::to_string(maxTextureSide) + " x " + std::to_string(maxTextureSide) + ")";
        return false;
    }
    const std::size_t headerBytes = 14 + static_cast<std::size_t>(infoSize);
    if (offset < headerBytes) {
        why = "its pixels are said to begin at byte " + std::to_string(offset) + ", inside its " +
              std::to_string(headerBytes) + "-byte header";
        return false;
    }
    if (offset >= fileSize) {
        why = "its pixels are said to begin at byte " + std::to_string(offset) + ", past the end of the file's " +
              std::to_string(fileSize) + " bytes";
        return false;
    }
    const std::uint64_t pixelBytes = paddedRowBytes(width) * static_cast<std::uint64_t>(rows);
    if (pixelBytes > fileSize - offset) {
        why = claimed(width, height) + ", more than the file's " + std::to_string(fileSize) + " bytes can hold";
        return false;
    }
    // The decoder reads the headers and the rows from memory with an int for their size.
    if (headerBytes + pixelBytes > 0x7fffffffu) {
        why = claimed(width, height) + ", more than the decoder takes (2 GiB)";
        return false;
    }
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(rows);
    layout.headerBytes = headerBytes;
    layout.pixelsOffset = offset;
    layout.pixelBytes = pixelBytes;
    return true;
}

bool readBmp(const char* file, int maxTextureSide, std::vector<unsigned char>& image, std::string& why)
{
    image.clear();
    DataFile data;
    if (!data.open(file, UINT64_MAX, why))
        return false;
    // Refused before a byte is read: no picture this driver takes needs a larger file.
    const std::uint64_t largest = bmpMaxFileBytes(maxTextureSide);
    if (data.size() > largest) {
        why = "it is " + std::to_string(data.size()) + " bytes, more than the " + std::to_string(largest) +
              " that the largest texture of this driver (" + std::to_string(maxTextureSide) + " x " +
              std::to_string(maxTextureSide) + ") takes with its header";
        return false;
    }

    unsigned char header[BMP_HEADER_BYTES];
    const std::size_t headerBytes = data.read(header, sizeof header);
    BmpLayout layout;
    if (!checkBmpHeader(header, headerBytes, data.size(), maxTextureSide, layout, why))
        return false;

    // The headers as the file has them, the rows right after them: the decoder is told so, and
    // whatever lay between (a gap of any length) is neither read nor held.
    image.assign(header, header + layout.headerBytes);
    const std::uint32_t offset = static_cast<std::uint32_t>(layout.headerBytes);
    for (int i = 0; i < 4; ++i)
        image[10 + static_cast<std::size_t>(i)] = static_cast<unsigned char>(offset >> (8 * i));
    image.resize(layout.headerBytes + static_cast<std::size_t>(layout.pixelBytes));
    const std::size_t rows = static_cast<std::size_t>(layout.pixelBytes);
    if (!data.seek(layout.pixelsOffset) || data.read(image.data() + layout.headerBytes, rows) != rows) {
        why = "it could not be read whole";
        image.clear();
        return false;
    }
    return true;
}

void setBmpDecoder(BmpDecoder installed) { decoder = installed; }

bool decodeBmpFile(const char* file, int maxTextureSide, Bitmap& bitmap, std::string& why)
{
    std::vector<unsigned char> bytes;
    if (!readBmp(file, maxTextureSide, bytes, why))
        return false;
    if (!decoder) {
        why = "there is no BMP decoder (the platform installs one as it comes up)";
        return false;
    }
    return decoder(bytes, bitmap, why);
}
