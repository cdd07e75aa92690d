#include "platform/posix/gdi32/PngWriter.h"
#include "tests/platform/gdi32/GdiTestSurface.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::uint32_t BigEndian(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
}

struct DecodedPng {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::vector<std::uint8_t> Header;
    std::vector<COLORREF> Pixels;
};

// Reads the chunks back, checking every checksum, and undoes the compression and the Sub
// filter of each row.
DecodedPng Decode(const std::vector<std::uint8_t>& png) {
    DecodedPng result;
    const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(png.size() > 8 &&
                std::equal(std::begin(signature), std::end(signature), png.begin()));
    std::vector<std::uint8_t> packed;
    std::vector<std::string> types;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = BigEndian(png, at);
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        const auto data = png.begin() + at + 8;
        const uLong crc = crc32(crc32(0, nullptr, 0), png.data() + at + 4, length + 4);
        EXPECT_EQ(BigEndian(png, at + 8 + length), crc) << type;
        if (type == "IHDR") {
            result.Header.assign(data, data + length);
        } else if (type == "IDAT") {
            packed.insert(packed.end(), data, data + length);
        }
        types.push_back(type);
        at += 12 + length;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    result.Width = BigEndian(result.Header, 0);
    result.Height = BigEndian(result.Header, 4);
    std::vector<std::uint8_t> rows((result.Width * 3 + 1) * result.Height);
    uLongf size = rows.size();
    EXPECT_EQ(uncompress(rows.data(), &size, packed.data(), packed.size()), Z_OK);
    for (std::uint32_t y = 0; y < result.Height; ++y) {
        const std::uint8_t* row = rows.data() + y * (result.Width * 3 + 1);
        EXPECT_EQ(row[0], 1); // Sub filter
        std::uint8_t previous[3] = {0, 0, 0};
        for (std::uint32_t x = 0; x < result.Width; ++x) {
            std::uint8_t rgb[3];
            for (int c = 0; c < 3; ++c) {
                rgb[c] = static_cast<std::uint8_t>(row[1 + x * 3 + c] + previous[c]);
                previous[c] = rgb[c];
            }
            result.Pixels.push_back(RGB(rgb[0], rgb[1], rgb[2]));
        }
    }
    return result;
}

TEST(GdiPng, EncodesAnAreaOfASurfaceLosslessly) {
    GdiTestSurface surface(7, 5, RGB(10, 20, 30));
    for (int x = 0; x < 7; ++x) {
        SetPixel(surface.Dc(), x, 2, RGB(x * 30, 255 - x, x));
    }
    const std::vector<std::uint8_t> png =
        posix::gdi::EncodePng(surface.Surface(), RECT{1, 1, 6, 4});
    const DecodedPng decoded = Decode(png);
    EXPECT_EQ(decoded.Width, 5u);
    EXPECT_EQ(decoded.Height, 3u);
    ASSERT_EQ(decoded.Header.size(), 13u);
    EXPECT_EQ(decoded.Header[8], 8); // bits per sample
    EXPECT_EQ(decoded.Header[9], 2); // RGB
    ASSERT_EQ(decoded.Pixels.size(), 15u);
    for (std::uint32_t y = 0; y < 3; ++y) {
        for (std::uint32_t x = 0; x < 5; ++x) {
            EXPECT_EQ(decoded.Pixels[y * 5 + x],
                      surface.At(static_cast<int>(x) + 1, static_cast<int>(y) + 1));
        }
    }
}

TEST(GdiPng, AreasAreCutToTheSurface) {
    GdiTestSurface surface(4, 3);
    EXPECT_EQ(Decode(posix::gdi::EncodePng(surface.Surface(), RECT{-5, 1, 100, 100})).Width, 4u);
    EXPECT_TRUE(posix::gdi::EncodePng(surface.Surface(), RECT{4, 0, 9, 3}).empty());
    EXPECT_TRUE(posix::gdi::EncodePng(surface.Surface(), RECT{2, 2, 1, 1}).empty());
}

TEST(GdiPng, WritesTheFileOrSaysItCouldNot) {
    GdiTestSurface surface(3, 3, RGB(0, 128, 255));
    const std::string path = testing::TempDir() + "gdi_png_test.png";
    ASSERT_TRUE(posix::gdi::WritePng(surface.Surface(), RECT{0, 0, 3, 3}, path));
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> written((std::istreambuf_iterator<char>(file)),
                                            std::istreambuf_iterator<char>());
    EXPECT_EQ(written, posix::gdi::EncodePng(surface.Surface(), RECT{0, 0, 3, 3}));
    std::remove(path.c_str());
    EXPECT_FALSE(
        posix::gdi::WritePng(surface.Surface(), RECT{0, 0, 3, 3}, "/nonexistent-directory/x.png"));
}

} // namespace
