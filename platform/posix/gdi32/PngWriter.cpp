#include "platform/posix/gdi32/PngWriter.h"

#include "platform/posix/gdi32/Region.h"
#include "platform/posix/gdi32/gdi.h"

#include <zlib.h>

#include <cstdio>
#include <string_view>

namespace posix::gdi {

namespace {

constexpr std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t filterSub = 1;

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void PutChunk(std::vector<std::uint8_t>& out, std::string_view type,
              const std::vector<std::uint8_t>& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    // The checksum covers the type and the data.
    uLong crc = crc32(0, nullptr, 0);
    crc = crc32(crc, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
    PutBigEndian(out, static_cast<std::uint32_t>(crc));
}

// Each row starts with its filter byte; the Sub filter stores each byte as the difference
// from the same colour of the pixel to its left, which flat interface areas compress well.
std::vector<std::uint8_t> FilteredRows(const Surface& surface, const RECT& area) {
    const auto width = static_cast<std::size_t>(area.right - area.left);
    std::vector<std::uint8_t> rows;
    rows.reserve((width * 3 + 1) * static_cast<std::size_t>(area.bottom - area.top));
    for (int y = area.top; y < area.bottom; ++y) {
        rows.push_back(filterSub);
        std::uint32_t previous = 0;
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t pixel = surface.At(x, y);
            for (const unsigned shift : {16u, 8u, 0u}) {
                rows.push_back(static_cast<std::uint8_t>((pixel >> shift) - (previous >> shift)));
            }
            previous = pixel;
        }
    }
    return rows;
}

} // namespace

std::vector<std::uint8_t> EncodePng(const Surface& surface, const RECT& wanted) {
    const RECT area = IntersectRects(wanted, surface.Bounds());
    if (IsEmptyRect(area) || surface.Pixels == nullptr) {
        return {};
    }
    const std::vector<std::uint8_t> rows = FilteredRows(surface, area);
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK) {
        return {};
    }
    packed.resize(packedSize);

    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(area.right - area.left));
    PutBigEndian(header, static_cast<std::uint32_t>(area.bottom - area.top));
    const std::uint8_t bitDepth = 8;
    const std::uint8_t colourTypeRgb = 2;
    header.insert(header.end(), {bitDepth, colourTypeRgb, 0, 0, 0});

    std::vector<std::uint8_t> png(std::begin(signature), std::end(signature));
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}

bool WritePng(const Surface& surface, const RECT& area, const std::string& path) {
    const std::vector<std::uint8_t> png = EncodePng(surface, area);
    if (png.empty()) {
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

} // namespace posix::gdi
