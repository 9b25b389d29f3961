// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Makes the desktop icon from the game's own art: reads an uncompressed 24-bit BMP (the living
// figure's face, textures/cubeface.bmp), scales it to a square of the given side by averaging
// boxes of pixels, and writes an RGB PNG. The PNG is stored without compression (deflate
// "stored" blocks), so no image library is needed and the output is the same on every machine.
//
//   bmp2png <in.bmp> <out.png> <side>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // top row first
};

std::uint32_t readLE(const std::vector<std::uint8_t>& b, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

bool readBMP(const char* path, Image& image, std::string& why)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = "cannot open";
        return false;
    }
    const std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
        why = "not a BMP file";
        return false;
    }
    const std::uint32_t offset = readLE(b, 10, 4);
    const std::int32_t width = static_cast<std::int32_t>(readLE(b, 18, 4));
    const std::int32_t rawHeight = static_cast<std::int32_t>(readLE(b, 22, 4));
    const std::uint32_t bpp = readLE(b, 28, 2);
    const std::uint32_t compression = readLE(b, 30, 4);
    if (bpp != 24 || compression != 0 || width <= 0 || rawHeight == 0) {
        why = "not an uncompressed 24-bit BMP";
        return false;
    }
    const bool bottomUp = rawHeight > 0;
    const int height = bottomUp ? rawHeight : -rawHeight;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    if (offset + stride * static_cast<std::size_t>(height) > b.size()) {
        why = "pixel data cut short";
        return false;
    }
    image.width = width;
    image.height = height;
    image.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const std::size_t row = offset + stride * static_cast<std::size_t>(bottomUp ? height - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            const std::size_t src = row + static_cast<std::size_t>(x) * 3;
            const std::size_t dst = (static_cast<std::size_t>(y) * width + x) * 3;
            image.rgb[dst] = b[src + 2]; // BMP keeps blue, green, red
            image.rgb[dst + 1] = b[src + 1];
            image.rgb[dst + 2] = b[src];
        }
    }
    return true;
}

// Each output pixel is the mean of the source pixels whose centres fall in its box.
Image scale(const Image& src, int side)
{
    Image out;
    out.width = side;
    out.height = side;
    out.rgb.resize(static_cast<std::size_t>(side) * side * 3);
    for (int y = 0; y < side; ++y) {
        const int y0 = y * src.height / side;
        const int y1 = std::max(y0 + 1, (y + 1) * src.height / side);
        for (int x = 0; x < side; ++x) {
            const int x0 = x * src.width / side;
            const int x1 = std::max(x0 + 1, (x + 1) * src.width / side);
            unsigned long sum[3] = {0, 0, 0};
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx)
                    for (int c = 0; c < 3; ++c)
                        sum[c] += src.rgb[(static_cast<std::size_t>(sy) * src.width + sx) * 3 + c];
            const unsigned long count = static_cast<unsigned long>((y1 - y0) * (x1 - x0));
            for (int c = 0; c < 3; ++c)
                out.rgb[(static_cast<std::size_t>(y) * side + x) * 3 + c] =
                    static_cast<std::uint8_t>((sum[c] + count / 2) / count);
        }
    }
    return out;
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0)
{
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void putBE(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void chunk(std::vector<std::uint8_t>& png, const char type[4], const std::vector<std::uint8_t>& data)
{
    putBE(png, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    putBE(png, crc32(body.data(), body.size()));
}

// A zlib stream of stored deflate blocks, with its Adler-32.
std::vector<std::uint8_t> zlibStored(const std::vector<std::uint8_t>& raw)
{
    std::vector<std::uint8_t> z = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t len = std::min<std::size_t>(65535, raw.size() - at);
        const bool last = at + len == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(len & 0xFF));
        z.push_back(static_cast<std::uint8_t>(len >> 8));
        z.push_back(static_cast<std::uint8_t>(~len & 0xFF));
        z.push_back(static_cast<std::uint8_t>((~len >> 8) & 0xFF));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + len));
        at += len;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBE(z, (b << 16) | a);
    return z;
}

std::vector<std::uint8_t> encodePNG(const Image& image)
{
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    putBE(header, static_cast<std::uint32_t>(image.width));
    putBE(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no filter method, no interlace
    chunk(png, "IHDR", header);

    std::vector<std::uint8_t> raw;
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0); // filter: none
        const auto row = image.rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * y);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    chunk(png, "IDAT", zlibStored(raw));
    chunk(png, "IEND", {});
    return png;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: bmp2png <in.bmp> <out.png> <side>\n");
        return 2;
    }
    const int side = std::atoi(argv[3]);
    if (side < 1 || side > 1024) {
        std::fprintf(stderr, "bmp2png: the side must be 1 to 1024 pixels\n");
        return 2;
    }
    Image source;
    std::string why;
    if (!readBMP(argv[1], source, why)) {
        std::fprintf(stderr, "bmp2png: %s: %s\n", argv[1], why.c_str());
        return 1;
    }
    const std::vector<std::uint8_t> png = encodePNG(scale(source, side));
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!out) {
        std::fprintf(stderr, "bmp2png: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
