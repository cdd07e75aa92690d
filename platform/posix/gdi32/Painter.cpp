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

RECT Painter::DetailOf(const RECT& part) const {
    const int d = surface_.Detail;
    return RECT{part.left * d, part.top * d, part.right * d, part.bottom * d};
}

void Painter::FillDetail(const RECT& part, std::uint32_t pixel) {
    if (!surface_.HasDetail()) {
        return;
    }
    const RECT block = DetailOf(part);
    for (int y = block.top; y < block.bottom; ++y) {
        std::fill_n(&surface_.DetailAt(block.left, y), block.right - block.left, pixel);
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
                    FillDetail(RECT{x, y, x + 1, y + 1}, pixel);
                }
            }
        }
    });
}

void Painter::FillSolid(const RECT& area, std::uint32_t pixel) {
    ForEachPart(area, [&](const RECT& part) {
        for (int y = part.top; y < part.bottom; ++y) {
            std::fill_n(&surface_.At(part.left, y), part.right - part.left, pixel);
        }
        FillDetail(part, pixel);
    });
}

void Painter::InvertDotted(const RECT& area, POINT origin) {
    const std::int64_t parity = (std::int64_t{origin.x} + origin.y) & 1;
    ForEachPart(area, [&](const RECT& part) {
        for (int y = part.top; y < part.bottom; ++y) {
            for (int x = part.left; x < part.right; ++x) {
                if (((std::int64_t{x} + y) & 1) == parity) {
                    surface_.At(x, y) ^= 0x00FFFFFFu;
                    FillDetail(RECT{x, y, x + 1, y + 1}, surface_.At(x, y));
                }
            }
        }
    });
}

void Painter::Blend(const Glyph& glyph, int x, int y, std::uint32_t pixel,
                    const DetailedGlyph* detailed) {
    const RECT area =
        SaturatedRect(x, y, std::int64_t{x} + glyph.Width, std::int64_t{y} + glyph.Rows);
    ForEachPart(area, [&](const RECT& part) {
        for (int row = part.top; row < part.bottom; ++row) {
            const std::uint8_t* coverage =
                glyph.Coverage.data() + static_cast<std::size_t>(row - y) * glyph.Width;
            for (int column = part.left; column < part.right; ++column) {
                const std::uint32_t amount = coverage[column - x];
                if (amount != 0) {
                    std::uint32_t& target = surface_.At(column, row);
                    target = amount == 255 ? pixel : Mix(target, pixel, amount);
                }
            }
        }
        if (surface_.HasDetail() && detailed == nullptr) {
            BlendBlocks(glyph, x, y, part, pixel);
        }
    });
    if (surface_.HasDetail() && detailed != nullptr) {
        BlendDetailed(*detailed, pixel);
    }
}

void Painter::BlendBlocks(const Glyph& glyph, int x, int y, const RECT& part, std::uint32_t pixel) {
    const RECT block = DetailOf(part);
    const int d = surface_.Detail;
    for (int row = block.top; row < block.bottom; ++row) {
        const std::uint8_t* coverage =
            glyph.Coverage.data() + static_cast<std::size_t>(row / d - y) * glyph.Width;
        for (int column = block.left; column < block.right; ++column) {
            const std::uint32_t amount = coverage[column / d - x];
            if (amount != 0) {
                std::uint32_t& target = surface_.DetailAt(column, row);
                target = amount == 255 ? pixel : Mix(target, pixel, amount);
            }
        }
    }
}

void Painter::BlendDetailed(const DetailedGlyph& detailed, std::uint32_t pixel) {
    const Glyph& glyph = detailed.Image;
    const RECT area = SaturatedRect(detailed.X, detailed.Y, std::int64_t{detailed.X} + glyph.Width,
                                    std::int64_t{detailed.Y} + glyph.Rows);
    for (const RECT& allowed : limit_.Rects()) {
        const RECT part =
            IntersectRects(area, DetailOf(IntersectRects(allowed, surface_.Bounds())));
        for (int row = part.top; row < part.bottom; ++row) {
            const std::uint8_t* coverage =
                glyph.Coverage.data() + static_cast<std::size_t>(row - detailed.Y) * glyph.Width;
            for (int column = part.left; column < part.right; ++column) {
                const std::uint32_t amount = coverage[column - detailed.X];
                if (amount != 0) {
                    std::uint32_t& target = surface_.DetailAt(column, row);
                    target = amount == 255 ? pixel : Mix(target, pixel, amount);
                }
            }
        }
    }
}

void Painter::Copy(const RECT& area, const std::vector<std::uint32_t>& pixels,
                   const std::vector<std::uint32_t>* detailPixels) {
    const auto width = static_cast<std::size_t>(area.right - area.left);
    const int d = surface_.Detail;
    ForEachPart(area, [&](const RECT& part) {
        for (int y = part.top; y < part.bottom; ++y) {
            const std::uint32_t* from = pixels.data() +
                                        static_cast<std::size_t>(y - area.top) * width +
                                        static_cast<std::size_t>(part.left - area.left);
            std::copy_n(from, part.right - part.left, &surface_.At(part.left, y));
        }
        if (!surface_.HasDetail()) {
            return;
        }
        const RECT block = DetailOf(part);
        for (int y = block.top; y < block.bottom; ++y) {
            std::uint32_t* to = &surface_.DetailAt(block.left, y);
            if (detailPixels != nullptr) {
                const std::uint32_t* from =
                    detailPixels->data() +
                    static_cast<std::size_t>(y - std::int64_t{area.top} * d) * width * d +
                    static_cast<std::size_t>(block.left - std::int64_t{area.left} * d);
                std::copy_n(from, block.right - block.left, to);
                continue;
            }
            for (int x = block.left; x < block.right; ++x) {
                to[x - block.left] = surface_.At(x / d, y / d);
            }
        }
    });
}

} // namespace posix::gdi
