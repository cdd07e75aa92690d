#include "platform/posix/gdi32/GlyphRun.h"

#include "platform/posix/gdi32/Painter.h"

#include <algorithm>
#include <cmath>
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

// The glyph at a detail whose pen stands at 'pen' on the baseline, both in detailed
// coordinates; none when it cannot be placed there.
std::optional<DetailedGlyph> Detailed(RealizedFont& font, char32_t character, int detail,
                                      std::int64_t pen, std::int64_t baseline) {
    const Glyph* fine = font.DetailGlyphFor(character, detail);
    if (fine == nullptr) {
        return std::nullopt;
    }
    const std::int64_t x = pen + fine->Left;
    const std::int64_t y = baseline - fine->Top;
    if (std::max(std::llabs(x), std::llabs(y)) >= runLimit * 2) {
        return std::nullopt;
    }
    return DetailedGlyph{*fine, static_cast<int>(x), static_cast<int>(y)};
}

// Each glyph's finer pen in its cell at 96 DPI, moved by half of what its advance at the
// finer size differs from the enlarged one, so that it stays centred there.
bool CentreInCells(RealizedFont& font, std::u32string_view text, const RunLayout& layout,
                   int detail, std::size_t start, std::size_t end,
                   std::vector<std::int64_t>& pens) {
    for (std::size_t i = start; i < end; ++i) {
        const Glyph* glyph = font.GlyphFor(text[i]);
        const Glyph* fine = font.DetailGlyphFor(text[i], detail);
        if (glyph == nullptr || fine == nullptr) {
            return false;
        }
        pens[i] = std::int64_t{detail} * layout.Offsets[i] +
                  (std::int64_t{detail} * glyph->Advance - fine->Advance) / 2;
    }
    return true;
}

// The finer pens of the break-free stretch [start, end): the font's spacing at the finer
// size, scaled to the stretch's enlarged span.
bool FitStretch(RealizedFont& font, std::u32string_view text, const RunLayout& layout, int detail,
                std::size_t start, std::size_t end, std::vector<std::int64_t>& pens) {
    std::int64_t natural = 0;
    const Glyph* previous = nullptr;
    for (std::size_t i = start; i < end; ++i) {
        const Glyph* fine = font.DetailGlyphFor(text[i], detail);
        if (fine == nullptr) {
            return false;
        }
        natural += previous != nullptr ? PairSpacing(*previous, *fine) : 0;
        pens[i] = natural;
        natural = std::min(natural + fine->Advance, runLimit);
        previous = fine;
    }
    const int stretchEnd = end < text.size() ? layout.Offsets[end] : layout.Width;
    const std::int64_t from = std::int64_t{detail} * layout.Offsets[start];
    const std::int64_t span = std::int64_t{detail} * (stretchEnd - layout.Offsets[start]);
    if (natural <= 0 || span < 0) {
        return CentreInCells(font, text, layout, detail, start, end, pens);
    }
    const double ratio = static_cast<double>(span) / static_cast<double>(natural);
    for (std::size_t i = start; i < end; ++i) {
        pens[i] = from + std::llround(static_cast<double>(pens[i]) * ratio);
    }
    return true;
}

} // namespace

std::vector<std::int64_t> DetailPens(RealizedFont& font, std::u32string_view text,
                                     const RunLayout& layout, int detail) {
    std::vector<std::int64_t> pens(text.size());
    if (layout.GivenAdvances) {
        const bool placed = CentreInCells(font, text, layout, detail, 0, text.size(), pens);
        return placed ? pens : std::vector<std::int64_t>{};
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && !IsControl(text[end])) {
            ++end;
        }
        if (!FitStretch(font, text, layout, detail, start, end, pens)) {
            return {};
        }
        if (end < text.size()) {
            pens[end] = std::int64_t{detail} * layout.Offsets[end];
        }
        start = end + 1;
    }
    return pens;
}

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
    layout.GivenAdvances = advances != nullptr;
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
    const int detail = context.Target.HasDetail() ? context.Target.Detail : 1;
    const std::vector<std::int64_t> detailPens =
        detail > 1 ? DetailPens(font, text, layout, detail) : std::vector<std::int64_t>{};
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
            detailPens.empty()
                ? std::nullopt
                : Detailed(font, text[i], detail, detail * left + detailPens[i], detail * baseline);
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
