#include "platform/posix/gdi32/GlyphRun.h"

#include "platform/posix/gdi32/Painter.h"

#include <algorithm>
#include <cstdint>

namespace posix::gdi {

namespace {

// Runs are kept well inside the 32-bit range, so positions computed from them never
// overflow; nothing that far out is on any surface anyway.
constexpr std::int64_t runLimit = std::int64_t{1} << 29;

bool IsControl(char32_t character) {
    return character < 0x20 || character == 0x7F;
}

Region Limited(DeviceContext& context, const std::optional<RECT>& clip) {
    const Region& drawable = context.Drawable();
    return clip ? drawable.Combined(Region(context.ToSurface(*clip)), Region::Operation::And)
                : drawable;
}

// The glyph at the surface's detail for a glyph whose pen stands at 'pen' on the baseline
// (surface coordinates): its pen at the same place of the detailed picture, moved by half of
// what its hinted advance differs from the enlarged one, so it stays centred in its cell.
std::optional<DetailedGlyph> Detailed(const Surface& surface, RealizedFont& font,
                                      char32_t character, const Glyph& glyph, std::int64_t pen,
                                      std::int64_t baseline) {
    if (!surface.HasDetail()) {
        return std::nullopt;
    }
    const Glyph* fine = font.DetailGlyphFor(character, surface.Detail);
    if (fine == nullptr) {
        return std::nullopt;
    }
    const std::int64_t d = surface.Detail;
    const std::int64_t centring = (d * glyph.Advance - fine->Advance) / 2;
    const std::int64_t x = d * pen + centring + fine->Left;
    const std::int64_t y = d * baseline - fine->Top;
    if (std::max(std::llabs(x), std::llabs(y)) >= runLimit * 2) {
        return std::nullopt;
    }
    return DetailedGlyph{*fine, static_cast<int>(x), static_cast<int>(y)};
}

} // namespace

std::int64_t RunPen::Place(char32_t character, const int* givenAdvance) {
    std::int64_t advance = 0;
    if (givenAdvance != nullptr) {
        advance = *givenAdvance;
        previousGlyph_ = nullptr;
    } else if (character == U'\t' && tabWidth_ > 0) {
        advance = (pen_ / tabWidth_ + 1) * tabWidth_ - pen_;
        previousGlyph_ = nullptr;
    } else if (IsControl(character)) {
        previousGlyph_ = nullptr;
    } else if (const Glyph* glyph = font_.GlyphFor(character)) {
        if (previousGlyph_ != nullptr) {
            pen_ += PairSpacing(*previousGlyph_, *glyph);
        }
        advance = glyph->Advance;
        previousGlyph_ = glyph;
    }
    const std::int64_t start = pen_;
    pen_ = std::clamp(pen_ + advance, -runLimit, runLimit);
    return start;
}

RunLayout LayOutRun(RealizedFont& font, std::u32string_view text, int tabWidth,
                    const std::vector<int>* advances) {
    RunLayout layout;
    layout.Offsets.reserve(text.size());
    RunPen pen(font, tabWidth);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int* given = advances != nullptr && i < advances->size() ? &(*advances)[i] : nullptr;
        layout.Offsets.push_back(static_cast<int>(pen.Place(text[i], given)));
    }
    layout.Width = static_cast<int>(pen.Position());
    return layout;
}

void DrawRun(DeviceContext& context, RealizedFont& font, std::u32string_view text,
             const RunLayout& layout, int x, int y, const std::optional<RECT>& clip) {
    const Region limit = Limited(context, clip);
    Painter painter(context.Target, limit);
    const FontMetrics& metrics = font.Metrics();
    const std::int64_t left = std::int64_t{x} + context.Origin.x;
    const std::int64_t top = std::int64_t{y} + context.Origin.y;
    const std::int64_t baseline = top + metrics.Ascent;
    const std::int64_t right = left + layout.Width;
    if (context.BkMode == OPAQUE) {
        painter.FillSolid(
            SaturatedRect(std::min(left, right), top, std::max(left, right), top + font.Height()),
            PixelFromColor(context.BkColor));
    }
    const std::uint32_t ink = PixelFromColor(context.TextColor);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsControl(text[i])) {
            continue;
        }
        const Glyph* glyph = font.GlyphFor(text[i]);
        if (glyph == nullptr) {
            return;
        }
        const std::int64_t pen = left + layout.Offsets[i];
        const std::int64_t glyphX = pen + glyph->Left;
        const std::int64_t glyphY = baseline - glyph->Top;
        if (std::max(std::llabs(glyphX), std::llabs(glyphY)) >= runLimit * 2) {
            continue;
        }
        const std::optional<DetailedGlyph> detailed =
            Detailed(context.Target, font, text[i], *glyph, pen, baseline);
        painter.Blend(*glyph, static_cast<int>(glyphX), static_cast<int>(glyphY), ink,
                      detailed ? &*detailed : nullptr);
    }
    if (font.Description().lfUnderline != 0) {
        const std::int64_t lineTop = baseline + metrics.UnderlineOffset;
        painter.FillSolid(SaturatedRect(left, lineTop, right, lineTop + metrics.UnderlineThickness),
                          ink);
    }
    if (font.Description().lfStrikeOut != 0) {
        const std::int64_t lineTop = baseline - metrics.StrikeoutOffset;
        painter.FillSolid(SaturatedRect(left, lineTop, right, lineTop + metrics.StrikeoutThickness),
                          ink);
    }
}

void DrawUnderline(DeviceContext& context, RealizedFont& font, int left, int right, int y,
                   const std::optional<RECT>& clip) {
    const Region limit = Limited(context, clip);
    const FontMetrics& metrics = font.Metrics();
    const std::int64_t lineTop =
        std::int64_t{y} + context.Origin.y + metrics.Ascent + metrics.UnderlineOffset;
    Painter(context.Target, limit)
        .FillSolid(SaturatedRect(std::int64_t{left} + context.Origin.x, lineTop,
                                 std::int64_t{right} + context.Origin.x,
                                 lineTop + metrics.UnderlineThickness),
                   PixelFromColor(context.TextColor));
}

} // namespace posix::gdi
