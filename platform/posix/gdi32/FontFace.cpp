#include "platform/posix/gdi32/FontFace.h"

#include "platform/posix/gdi32/gdi.h"

#include FT_SYNTHESIS_H

#include <cstdlib>

namespace posix::gdi {

namespace {

// Glyph images rendered in the process: a cache hit renders none.
std::uint64_t renderCount = 0;

std::uint64_t GlyphKey(char32_t character, bool embolden, bool oblique) {
    return static_cast<std::uint64_t>(character) | (std::uint64_t{embolden} << 32) |
           (std::uint64_t{oblique} << 33);
}

// Copies a rendered bitmap into one byte of coverage per pixel.
void CopyCoverage(const FT_Bitmap& bitmap, Glyph& glyph) {
    glyph.Width = static_cast<int>(bitmap.width);
    glyph.Rows = static_cast<int>(bitmap.rows);
    glyph.Coverage.assign(static_cast<std::size_t>(bitmap.width) * bitmap.rows, 0);
    // Adding the pitch moves one row down; with a negative pitch the top row comes last.
    const std::ptrdiff_t pitch = bitmap.pitch;
    const std::ptrdiff_t top =
        pitch < 0 && bitmap.rows > 0 ? static_cast<std::ptrdiff_t>(bitmap.rows - 1) * -pitch : 0;
    for (unsigned y = 0; y < bitmap.rows; ++y) {
        const unsigned char* row = bitmap.buffer + top + static_cast<std::ptrdiff_t>(y) * pitch;
        std::uint8_t* out = glyph.Coverage.data() + static_cast<std::size_t>(y) * bitmap.width;
        for (unsigned x = 0; x < bitmap.width; ++x) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                out[x] = (row[x / 8] & (0x80u >> (x % 8))) != 0 ? 255 : 0;
            } else {
                out[x] = row[x];
            }
        }
    }
}

} // namespace

std::uint64_t GlyphRenderCount() {
    return renderCount;
}

FontFace::FontFace(std::shared_ptr<FontLibrary> library, FT_Face face)
    : library_(std::move(library)), face_(face) {}

FontFace::~FontFace() {
    FT_Done_Face(face_);
}

const Glyph& FontFace::GlyphFor(char32_t character, bool embolden, bool oblique) {
    const std::uint64_t key = GlyphKey(character, embolden, oblique);
    const auto known = glyphs_.find(key);
    if (known != glyphs_.end()) {
        return known->second;
    }
    return glyphs_.emplace(key, Render(character, embolden, oblique)).first->second;
}

int PairSpacing(const Glyph& before, const Glyph& after) {
    // A space has no ink whose gap could be kept, and narrowing it would run words together.
    if (before.Width == 0 || after.Width == 0) {
        return 0;
    }
    // Hinting that moved the right bearing of the first glyph further out than the left
    // bearing of the second by more than half a pixel widened the gap by a pixel, and the
    // other way round narrowed it.
    const int widened = before.RightShift - after.LeftShift;
    if (widened > 32) {
        return -1;
    }
    return widened < -31 ? 1 : 0;
}

Glyph FontFace::Render(char32_t character, bool embolden, bool oblique) {
    ++renderCount;
    Glyph glyph;
    const FT_UInt index = FT_Get_Char_Index(face_, static_cast<FT_ULong>(character));
    // Stems are snapped to whole pixels in both directions for crisp interface text (the
    // monochrome hinting target; the outline is still rendered with grey levels). Glyphs are
    // placed by their hinted advances, which keep their side bearings as hinting widened or
    // narrowed their stems; the side-bearing shifts let a run correct the spacing of pairs.
    constexpr FT_Int32 loadFlags = FT_LOAD_TARGET_MONO | FT_LOAD_FORCE_AUTOHINT | FT_LOAD_NO_BITMAP;
    if (FT_Load_Glyph(face_, index, loadFlags) != 0) {
        return glyph;
    }
    FT_GlyphSlot slot = face_->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (embolden) {
            FT_GlyphSlot_Embolden(slot);
        }
        if (oblique) {
            FT_GlyphSlot_Oblique(slot);
        }
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
        return glyph;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY || bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        CopyCoverage(bitmap, glyph);
    }
    glyph.Left = slot->bitmap_left;
    glyph.Top = slot->bitmap_top;
    // Emboldening has widened the advance by as much as the glyph.
    glyph.Advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.LeftShift = static_cast<int>(slot->lsb_delta);
    glyph.RightShift = static_cast<int>(slot->rsb_delta);
    return glyph;
}

} // namespace posix::gdi
