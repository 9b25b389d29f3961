// SPDX-FileCopyrightText: 2026 The Glacimor developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The texture header check: what a BMP's header claims is weighed against the file's size and the
// driver's largest texture before anything is decoded, so a lying header costs nothing.
#include "render/bmp.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int MAX_SIDE = 16384; // Mesa's llvmpipe

// A file header and a 40-byte info header: `bits` per pixel, uncompressed, pixels right after.
std::vector<unsigned char> header(std::int32_t width, std::int32_t height, int bits = 24, std::uint32_t compression = 0)
{
    std::vector<unsigned char> h;
    const auto put = [&h](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            h.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    h.push_back('B');
    h.push_back('M');
    put(0, 4); // the file's size as the header says it: not trusted, not read
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(height), 4);
    put(1, 2);
    put(static_cast<std::uint32_t>(bits), 2);
    put(compression, 4);
    h.resize(54, 0);
    return h;
}

struct Checked {
    bool ok;
    BmpLayout layout;
    std::string why;
};

Checked check(const std::vector<unsigned char>& bytes, std::uint64_t fileSize, int maxSide = MAX_SIDE)
{
    Checked c{false, {}, ""};
    c.ok = checkBmpHeader(bytes.data(), bytes.size(), fileSize, maxSide, c.layout, c.why);
    return c;
}

} // namespace

TEST(BmpHeader, AcceptsWhatTheFileHoldsAndNotOneByteLess)
{
    // 5 pixels of 3 bytes make 15, padded to 16 a row; 7 rows after the 54 header bytes.
    const Checked exact = check(header(5, 7), 54 + 16 * 7);
    ASSERT_TRUE(exact.ok) << exact.why;
    EXPECT_EQ(exact.layout.width, 5);
    EXPECT_EQ(exact.layout.height, 7);
    EXPECT_EQ(exact.layout.headerBytes, 54u);
    EXPECT_EQ(exact.layout.pixelsOffset, 54u);
    EXPECT_EQ(exact.layout.pixelBytes, 16u * 7);
    // Trailing bytes are allowed and not read.
    EXPECT_TRUE(check(header(5, 7), 1 << 20).ok);

    const Checked shortFile = check(header(5, 7), 54 + 16 * 7 - 1);
    EXPECT_FALSE(shortFile.ok);
    EXPECT_EQ(shortFile.why, "its header claims 5 x 7 pixels, more than the file's 165 bytes can hold");
}

TEST(BmpHeader, RefusesTooLargeZeroAndNegativeSides)
{
    // The file that once took 12.7 GB and 36 s: 65536 x 65536 claimed by a 196 KB file.
    const Checked huge = check(header(65536, 65536), 196 * 1024);
    EXPECT_FALSE(huge.ok);
    EXPECT_EQ(huge.why, "its header claims 65536 x 65536 pixels, more than this driver's largest texture "
                        "(16384 x 16384)");
    // Within the driver's limit, but far more than the file holds.
    const Checked claimsMore = check(header(16384, 16384), 196 * 1024);
    EXPECT_FALSE(claimsMore.ok);
    EXPECT_EQ(claimsMore.why, "its header claims 16384 x 16384 pixels, more than the file's 200704 bytes can hold");
    // One side too long is enough, whatever the file's size.
    EXPECT_FALSE(check(header(16385, 1), UINT64_MAX).ok);
    EXPECT_FALSE(check(header(1, -16385), UINT64_MAX).ok);

    for (const auto& sides : {std::pair<int, int>{0, 8}, {8, 0}, {-8, 8}, {INT_MIN, 1}}) {
        SCOPED_TRACE(std::to_string(sides.first) + " x " + std::to_string(sides.second));
        const Checked c = check(header(sides.first, sides.second), UINT64_MAX);
        EXPECT_FALSE(c.ok);
        EXPECT_EQ(c.why, "its header claims " + std::to_string(sides.first) + " x " + std::to_string(sides.second) +
                             " pixels, which is no picture");
    }
    // The most negative height has no positive counterpart: too large, not top-down.
    EXPECT_FALSE(check(header(8, INT_MIN), UINT64_MAX).ok);

    // A negative height is a picture stored top row first, and is counted by its size.
    const Checked topDown = check(header(4, -3), 54 + 12 * 3);
    ASSERT_TRUE(topDown.ok) << topDown.why;
    EXPECT_EQ(topDown.layout.height, 3);
    EXPECT_FALSE(check(header(4, -3), 54 + 12 * 3 - 1).ok);

    // The sides' product never wraps: the largest sides the header can name, in a file of 2^63 bytes.
    EXPECT_FALSE(check(header(INT_MAX, INT_MAX), UINT64_MAX / 2, INT_MAX).ok);
}

TEST(BmpHeader, NamesPixelsThatBeginInsideTheHeaderOrPastTheEnd)
{
    // The file holds the pixels after its header; only the offset is wrong.
    std::vector<unsigned char> inside = header(2, 2);
    inside[10] = 30;
    const Checked c = check(inside, 1 << 20);
    EXPECT_FALSE(c.ok);
    EXPECT_EQ(c.why, "its pixels are said to begin at byte 30, inside its 54-byte header");

    std::vector<unsigned char> past = header(2, 2);
    past[10] = 0;
    past[13] = 0x80; // 2 GiB into a file of 70 bytes
    EXPECT_EQ(check(past, 70).why, "its pixels are said to begin at byte 2147483648, past the end of the file's 70 bytes");

    // Far into a file that does reach that far: the rows are found there.
    const Checked far = check(past, 0x80000000ull + 16);
    ASSERT_TRUE(far.ok) << far.why;
    EXPECT_EQ(far.layout.pixelsOffset, 0x80000000ull);
    EXPECT_EQ(far.layout.pixelBytes, 16u);
}

TEST(BmpHeader, RefusesOtherFormatsAndTruncatedHeaders)
{
    EXPECT_EQ(check(header(4, 4, 8), 1 << 20).why, "not an uncompressed 24-bit BMP");
    EXPECT_EQ(check(header(4, 4, 32), 1 << 20).why, "not an uncompressed 24-bit BMP");
    EXPECT_EQ(check(header(4, 4, 24, 1), 1 << 20).why, "not an uncompressed 24-bit BMP");

    std::vector<unsigned char> notBmp = header(4, 4);
    notBmp[0] = 'P';
    EXPECT_EQ(check(notBmp, 1 << 20).why, "not a BMP file");
    std::vector<unsigned char> cut = header(4, 4);
    cut.resize(30); // the info header says 40 bytes
    EXPECT_EQ(check(cut, 30).why, "the file is too short for its header");
    cut.resize(10);
    EXPECT_EQ(check(cut, 10).why, "not a BMP file");
}

namespace {

// A folder of its own for the files of one test, removed afterwards.
class BmpFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("glacimor-bmp-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Writes the headers at the start and `rows` at `offset`; what lies between is a hole in the
    // file that takes no disk space.
    std::string write(const char* name, std::vector<unsigned char> headers, std::uint64_t offset,
                      const std::vector<unsigned char>& rows)
    {
        for (int i = 0; i < 4; ++i)
            headers[10 + static_cast<std::size_t>(i)] = static_cast<unsigned char>(offset >> (8 * i));
        const std::string path = (dir / name).string();
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(headers.data()), static_cast<std::streamsize>(headers.size()));
        out.seekp(static_cast<std::streamoff>(offset));
        out.write(reinterpret_cast<const char*>(rows.data()), static_cast<std::streamsize>(rows.size()));
        return path;
    }

    fs::path dir;
};

} // namespace

TEST_F(BmpFileTest, RowsFarIntoASparseFileAreReadWithoutTheGap)
{
    // Two rows of a 2 x 2 picture, 700 MB into the file: the rows follow the headers at once in
    // what the decoder gets, and nothing of the gap is held.
    const std::vector<unsigned char> rows = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    const std::uint64_t offset = 700ull * 1000 * 1000;
    const std::string path = write("far.bmp", header(2, 2), offset, rows);
    std::vector<unsigned char> image;
    std::string why;
    ASSERT_TRUE(readBmp(path.c_str(), MAX_SIDE, image, why)) << why;
    ASSERT_EQ(image.size(), 54u + rows.size());
    EXPECT_EQ(std::vector<unsigned char>(image.begin() + 54, image.end()), rows);
    EXPECT_EQ(image[10], 54); // the rows begin right after the headers now
    EXPECT_EQ(image[11] | image[12] | image[13], 0);
}

TEST_F(BmpFileTest, AFileLargerThanAnyTextureOfTheDriverIsRefusedUnread)
{
    // The largest texture of a driver whose side is 1000: 138 header bytes and 1000 rows of 3000.
    EXPECT_EQ(bmpMaxFileBytes(1000), 138u + 3000 * 1000);
    EXPECT_EQ(bmpMaxFileBytes(16384), 138u + 49152ull * 16384);

    const std::vector<unsigned char> rows(16, 0);
    const std::string largest = write("largest.bmp", header(2, 2), bmpMaxFileBytes(1000) - rows.size(), rows);
    std::vector<unsigned char> image;
    std::string why;
    EXPECT_TRUE(readBmp(largest.c_str(), 1000, image, why)) << why;

    const std::string larger = write("larger.bmp", header(2, 2), bmpMaxFileBytes(1000) - rows.size() + 1, rows);
    EXPECT_FALSE(readBmp(larger.c_str(), 1000, image, why));
    EXPECT_EQ(why, "it is 3000139 bytes, more than the 3000138 that the largest texture of this driver "
                   "(1000 x 1000) takes with its header");
    EXPECT_TRUE(image.empty());
}
