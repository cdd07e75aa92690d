#pragma once

// Pixel operations on a surface, limited to a region of it. Every coordinate here is a
// surface coordinate, except those of detailed glyphs. On a surface with detail, every
// operation changes the detailed picture to match: each pixel written becomes a block there,
// and only glyphs may bring finer pixels of their own.

#include "platform/posix/gdi32/FontFace.h"
#include "platform/posix/gdi32/Region.h"
#include "platform/posix/gdi32/Surface.h"

#include <cstdint>
#include <vector>

namespace posix::gdi {

// A rectangle from 64-bit coordinates, each held to the 32-bit range.
RECT SaturatedRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);

// What fills an area: nothing, one colour, or a tile repeated from an origin.
struct Paint {
    enum class Kind { None, Solid, Tiled };
    // A tile pixel that leaves the surface unchanged (a hatch background when transparent).
    static constexpr std::uint32_t Clear = 0xFF000000u;

    Kind Type = Kind::None;
    std::uint32_t Pixel = 0;
    int TileWidth = 0;
    int TileHeight = 0;
    std::vector<std::uint32_t> Tile; // TileWidth * TileHeight pixels, rows top to bottom
    POINT TileOrigin{0, 0};          // surface position where a tile starts
};

// A glyph rasterized at the surface's detail, its top-left pixel at (X, Y) of the detailed
// picture.
struct DetailedGlyph {
    const Glyph& Image;
    int X = 0;
    int Y = 0;
};

class Painter {
public:
    Painter(const Surface& surface, const Region& limit) : surface_(surface), limit_(limit) {}

    void Fill(const RECT& area, const Paint& paint);
    void FillSolid(const RECT& area, std::uint32_t pixel);
    // Inverts every second pixel of the area, those whose x + y has the parity of
    // origin.x + origin.y: the dotted pattern of focus rectangles. Doing it twice restores.
    void InvertDotted(const RECT& area, POINT origin);
    // Blends a glyph image whose top-left pixel lands at (x, y) in the given colour. The
    // detailed picture gets 'detailed' when given, otherwise the glyph's pixels as blocks.
    void Blend(const Glyph& glyph, int x, int y, std::uint32_t pixel,
               const DetailedGlyph* detailed = nullptr);
    // Copies pixels laid out like 'area' (row by row) onto the area. The detailed picture
    // gets 'detailPixels', laid out like the area at the surface's detail, when given,
    // otherwise the pixels as blocks.
    void Copy(const RECT& area, const std::vector<std::uint32_t>& pixels,
              const std::vector<std::uint32_t>* detailPixels = nullptr);

private:
    template <class Operation> void ForEachPart(const RECT& area, Operation operation);
    // The block of the detailed picture under a part of the surface.
    RECT DetailOf(const RECT& part) const;
    void FillDetail(const RECT& part, std::uint32_t pixel);
    void BlendBlocks(const Glyph& glyph, int x, int y, const RECT& part, std::uint32_t pixel);
    void BlendDetailed(const DetailedGlyph& detailed, std::uint32_t pixel);

    const Surface& surface_;
    const Region& limit_;
};

} // namespace posix::gdi
