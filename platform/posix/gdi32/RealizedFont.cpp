#include "platform/posix/gdi32/RealizedFont.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace posix::gdi {

namespace {

constexpr std::int64_t defaultCellHeight = 16;
constexpr std::int64_t maximumPixels = 1024;

// a * b / c rounded to the nearest integer, for non-negative c.
int ScaleRounded(std::int64_t a, std::int64_t b, std::int64_t c) {
    if (c <= 0) {
        return 0;
    }
    const std::int64_t product = a * b;
    const std::int64_t half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : -((-product + half) / c));
}

} // namespace

RealizedFont::RealizedFont(const LOGFONTA& font) : font_(font) {
    std::shared_ptr<FontLibrary> library = FontLibrary::Instance();
    if (library) {
        match_ = library->Match(font);
    }
    FaceDesign design;
    if (match_) {
        design = library->Design(match_->File, match_->Index);
    }
    SizeFromDesign(design);
    if (!match_) {
        return;
    }
    face_ = library->Face(match_->File, match_->Index, emSize_);
    if (face_) {
        family_ = match_->Family;
        embolden_ = match_->Embolden;
        oblique_ = match_->Oblique;
        if (design.AverageWidth == 0) {
            metrics_.AverageWidth = std::max(1, Advance(U'x'));
        }
    }
}

void RealizedFont::SizeFromDesign(const FaceDesign& design) {
    const std::int64_t requested = font_.lfHeight == 0 ? defaultCellHeight : font_.lfHeight;
    const std::int64_t pixels = std::clamp<std::int64_t>(std::abs(requested), 1, maximumPixels);
    const std::int64_t units = design.UnitsPerEm;
    const std::int64_t cellUnits = design.WinAscent + design.WinDescent;
    FontMetrics& m = metrics_;
    if (requested > 0) {
        emSize_ = std::max<std::int64_t>(1, pixels * 64 * units / cellUnits);
        m.Ascent = ScaleRounded(pixels, design.WinAscent, cellUnits);
        m.Descent = static_cast<int>(pixels) - m.Ascent;
    } else {
        emSize_ = pixels * 64;
        m.Ascent = ScaleRounded(pixels, design.WinAscent, units);
        m.Descent = ScaleRounded(pixels, design.WinDescent, units);
    }
    const std::int64_t scale = emSize_;
    const std::int64_t perUnits = 64 * units;
    m.InternalLeading = std::max(0, m.Ascent + m.Descent - ScaleRounded(emSize_, 1, 64));
    const int lineUnits = design.LineAscent + design.LineDescent + design.LineGap;
    m.ExternalLeading = std::max(0, ScaleRounded(lineUnits - cellUnits, scale, perUnits));
    m.AverageWidth = std::max(1, ScaleRounded(design.AverageWidth, scale, perUnits));
    m.MaximumWidth = std::max(1, ScaleRounded(design.MaximumAdvance, scale, perUnits));
    m.UnderlineThickness = std::max(1, ScaleRounded(design.UnderlineThickness, scale, perUnits));
    const int underlineCentre = ScaleRounded(-design.UnderlinePosition, scale, perUnits);
    m.UnderlineOffset = std::clamp(underlineCentre - m.UnderlineThickness / 2, 0,
                                   std::max(0, m.Descent - m.UnderlineThickness));
    m.StrikeoutThickness = std::max(1, ScaleRounded(design.StrikeoutThickness, scale, perUnits));
    m.StrikeoutOffset = design.StrikeoutPosition > 0
                            ? ScaleRounded(design.StrikeoutPosition, scale, perUnits)
                            : m.Ascent / 3 + m.StrikeoutThickness;
    m.FixedPitch = design.FixedPitch;
}

const Glyph* RealizedFont::GlyphFor(char32_t character) {
    if (!face_) {
        return nullptr;
    }
    return &face_->GlyphFor(character, embolden_, oblique_);
}

int RealizedFont::Advance(char32_t character) {
    const Glyph* glyph = GlyphFor(character);
    return glyph != nullptr ? glyph->Advance : 0;
}

const Glyph* RealizedFont::DetailGlyphFor(char32_t character, int detail) {
    if (!face_ || detail < 2 || emSize_ * detail > maximumPixels * 64) {
        return nullptr;
    }
    if (detail != detail_) {
        std::shared_ptr<FontLibrary> library = FontLibrary::Instance();
        detailFace_ =
            library ? library->Face(match_->File, match_->Index, emSize_ * detail) : nullptr;
        detail_ = detail;
    }
    return detailFace_ ? &detailFace_->GlyphFor(character, embolden_, oblique_) : nullptr;
}

} // namespace posix::gdi
