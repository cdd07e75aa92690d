#pragma once

// One loaded FreeType face at one size, with the glyphs rendered from it so far.

#include "platform/posix/gdi32/FontLibrary.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace posix::gdi {

struct Glyph {
    int Left = 0;                       // from the pen position to the first column of the image
    int Top = 0;                        // from the baseline up to the first row of the image
    int Width = 0;                      // image columns
    int Rows = 0;                       // image rows
    int Advance = 0;                    // whole pixels to the next pen position
    int LeftShift = 0;                  // how far hinting moved the left side bearing, 1/64 pixel
    int RightShift = 0;                 // how far hinting moved the right side bearing, 1/64 pixel
    std::vector<std::uint8_t> Coverage; // Width * Rows, 0 clear to 255 fully covered
};

// The pixel a pair of neighbouring glyphs moves closer (-1) or apart (+1) so that the gap
// between them stays near the one of the unhinted outlines; 0 when either is blank.
int PairSpacing(const Glyph& before, const Glyph& after);

class FontFace {
public:
    FontFace(std::shared_ptr<FontLibrary> library, FT_Face face);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // The glyph of a character, rendered on first use and cached from then on. A character
    // the face lacks gets the face's missing-glyph image.
    const Glyph& GlyphFor(char32_t character, bool embolden, bool oblique);

    FT_Face Handle() const { return face_; }

private:
    Glyph Render(char32_t character, bool embolden, bool oblique);

    std::shared_ptr<FontLibrary> library_; // kept alive while the face exists
    FT_Face face_;
    std::unordered_map<std::uint64_t, Glyph> glyphs_;
};

} // namespace posix::gdi
