#pragma once

// A font description (LOGFONTA) turned into a face, a size and metrics in pixels.
//
// A positive height is the cell height (ascent plus descent), a negative one the character
// (em) height, and 0 asks for a default. Heights are limited to 1024 pixels so that a wild
// value cannot make huge glyph images.

#include "platform/posix/gdi32/FontFace.h"
#include "platform/win32.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace posix::gdi {

struct FontMetrics {
    int Ascent = 0;          // rows above the baseline
    int Descent = 0;         // rows below it
    int InternalLeading = 0; // part of the cell above the em square (room for accents)
    int ExternalLeading = 0; // extra room the face asks for between lines
    int AverageWidth = 1;    // never 0, so that callers may divide by it
    int MaximumWidth = 1;
    int UnderlineOffset = 0; // rows from the baseline down to the underline's first row
    int UnderlineThickness = 1;
    int StrikeoutOffset = 0; // rows from the baseline up to the strike-out's first row
    int StrikeoutThickness = 1;
    bool FixedPitch = false;
};

class RealizedFont {
public:
    explicit RealizedFont(const LOGFONTA& font);

    const LOGFONTA& Description() const { return font_; }
    const FontMetrics& Metrics() const { return metrics_; }
    int Height() const { return metrics_.Ascent + metrics_.Descent; }
    // The family of the face found for the font; empty when none was.
    const std::string& Family() const { return family_; }

    // The glyph of a character; null when no face could be loaded.
    const Glyph* GlyphFor(char32_t character);
    int Advance(char32_t character);
    // The glyph of a character rasterized at 'detail' times the font's size, for surfaces
    // with detail; null when there is no face, or when that size would pass the limit on
    // heights (the caller then enlarges the glyph itself).
    const Glyph* DetailGlyphFor(char32_t character, int detail);

private:
    void SizeFromDesign(const FaceDesign& design);

    LOGFONTA font_;
    std::optional<FontMatch> match_;
    std::shared_ptr<FontFace> face_;
    std::shared_ptr<FontFace> detailFace_; // loaded at the first detailed glyph
    int detail_ = 1;                       // the detail detailFace_ was loaded for
    bool embolden_ = false;
    bool oblique_ = false;
    long emSize_ = 0; // 1/64 pixel per em
    FontMetrics metrics_;
    std::string family_;
};

} // namespace posix::gdi
