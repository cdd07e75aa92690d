#include "platform/posix/gdi32/Painter.h"

#include <algorithm>
#include <cstdint>

namespace posix::gdi {

namespace {

std::uint32_t Mix(std::uint32_t under, std::uint32_t over, std::uint32_t coverage) {
    std::uint32_t result = 0;
    for (unsigned shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t a = (under >> shift) & 0xFFu;
        const std::uint32_t b = (over >> shift) & 0xFFu;
        const std::uint32_t mixed = (b * coverage + a * (255u - coverage) + 127u) / 255u;
        result |= mixed << shift;
    }
    return result;
}

// x modulo a positive n, never negative.
int Wrap(std::int64_t x, int n) {
    const std::int64_t r = x % n;
    return static_cast<int>(r < 0 ? r + n : r);
}

} // namespace

RECT SaturatedRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    const auto clamp = [](std::int64_t value) {
        return static_cast<LONG>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
    };
    return RECT{clamp(left), clamp(top), clamp(right), clamp(bottom)};
}

template <class Operation> void Painter::ForEachPart(const RECT& area, Operation operation) {
    if (surface_.Pixels == nullptr || IsEmptyRect(area)) {
        return;
    }
    for (const RECT& allowed : limit_.Rects()) {
        const RECT part = IntersectRects(IntersectRects(area, allowed), surface_.Bounds());
        if (!IsEmptyRect(part)) {
            operation(part);
        }
    }
}

void Painter::Fill(const RECT& area, const Paint& paint) {
    switch (paint.Type) {
    case Paint::Kind::None:
        return;
    case Paint::Kind::Solid:
        FillSolid(area, paint.Pixel);
        return;
    case Paint::Kind::Tiled:
        break;
    }
    if (paint.TileWidth <= 0 || paint.TileHeight <= 0) {
        return;
    }
    ForEachPart(area, [&](const RECT& part) {
        for (int y = part.top; y < part.bottom; ++y) {
            const int row = Wrap(std::int64_t{y} - paint.TileOrigin.y, paint.TileHeight);
            const std::uint32_t* tile =
                paint.Tile.data() + static_cast<std::size_t>(row) * paint.TileWidth;
            for (int x = part.left; x < part.right; ++x) {
                const std::uint32_t pixel =
                    tile[Wrap(std::int64_t{x} - paint.TileOrigin.x, paint.TileWidth)];
                if (pixel != Paint::Clear) {
                    surface_.At(x, y) = pixel;
                }
            }
        }
    });
}

void Painter::FillSolid(const RECT& area, std::uint32_t pixel) {
    ForEachPart(area, [&](const RECT& part) {
        for (int y = part.top; y < part.bottom; ++y) {
            std::uint32_t* row = &surface_.At(part.left, y);
            for (int x = 0; x < part.right - part.left; ++x) {
                row[x] = pixel;
            }
        }
    });
}

void Painter::InvertDotted(const RECT& area, POINT origin) {
    const std::int64_t parity = (std::int64_t{origin.x} + origin.y) & 1;
    ForEachPart(area, [&](const RECT& part) {
        for (int y = part.top; y < part.bottom; ++y) {
            for (int x = part.left; x < part.right; ++x) {
                if (((std::int64_t{x} + y) & 1) == parity) {
                    surface_.At(x, y) ^= 0x00FFFFFFu;
                }
            }
        }
    });
}

void Painter::Blend(const Glyph& glyph, int x, int y, std::uint32_t pixel) {
    const RECT area =
        SaturatedRect(x, y, std::int64_t{x} + glyph.Width, std::int64_t{y} + glyph.Rows);
    ForEachPart(area, [&](const RECT& part) {
        for (int row = part.top; row < part.bottom; ++row) {
            const std::uint8_t* coverage =
                glyph.Coverage.data() + static_cast<std::size_t>(row - y) * glyph.Width;
            for (int column = part.left; column < part.right; ++column) {
                const std::uint32_t amount = coverage[column - x];
                if (amount == 0) {
                    continue;
                }
                std::uint32_t& target = surface_.At(column, row);
                target = amount == 255 ? pixel : Mix(target, pixel, amount);
            }
        }
    });
}

void Painter::Copy(const RECT& area, const std::vector<std::uint32_t>& pixels) {
    const auto width = static_cast<std::size_t>(area.right - area.left);
    ForEachPart(area, [&](const RECT& part) {
        for (int y = part.top; y < part.bottom; ++y) {
            const std::uint32_t* from = pixels.data() +
                                        static_cast<std::size_t>(y - area.top) * width +
                                        static_cast<std::size_t>(part.left - area.left);
            std::uint32_t* to = &surface_.At(part.left, y);
            for (int x = 0; x < part.right - part.left; ++x) {
                to[x] = from[x];
            }
        }
    });
}

} // namespace posix::gdi
