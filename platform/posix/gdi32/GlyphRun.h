#pragma once

// A run of text on one line: where its characters go, and drawing it on a device context.

#include "platform/posix/gdi32/DeviceContext.h"
#include "platform/posix/gdi32/RealizedFont.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace posix::gdi {

struct RunLayout {
    std::vector<int> Offsets; // where each character starts, from the start of the run
    int Width = 0;
    bool GivenAdvances = false; // the offsets come from the caller's advances, not the font's
};

// Moves a pen along a run character by character, by the rules LayOutRun follows.
class RunPen {
public:
    RunPen(RealizedFont& font, int tabWidth) : font_(font), tabWidth_(tabWidth) {}

    // Places a character, with the given advance or the font's, and returns where it
    // starts; the pen then stands where it ends.
    std::int64_t Place(char32_t character, const int* givenAdvance = nullptr);
    std::int64_t Position() const { return pen_; }

private:
    RealizedFont& font_;
    int tabWidth_;
    std::int64_t pen_ = 0;
    // The glyph just before; none at the start and after a tab, a control character or a
    // given advance. Glyphs stay where their face keeps them while the font lives.
    const Glyph* previousGlyph_ = nullptr;
};

// Lays a run out with the font's advances, or with the given ones (one per character).
// Control characters take no room and show nothing; with a positive tab width a tab moves
// to the next multiple of it.
RunLayout LayOutRun(RealizedFont& font, std::u32string_view text, int tabWidth,
                    const std::vector<int>* advances = nullptr);

// Where each character's pen stands on a picture 'detail' times finer, from the run's start
// there. Between breaks (control characters, tabs) the letters keep the font's own spacing
// at the finer size, stretched or squeezed to span what that stretch of the run spans at 96
// DPI, so they are evenly spaced and cover the same place; with given advances each glyph is
// centred in its cell instead. Empty when the font has no glyphs at that size.
std::vector<std::int64_t> DetailPens(RealizedFont& font, std::u32string_view text,
                                     const RunLayout& layout, int detail);

// Draws a laid-out run whose cell has its top-left corner at (x, y) in the context's
// coordinates: the background when the mode is OPAQUE, the glyphs blended in the text
// colour, then the font's underline and strike-out. 'clip' (context coordinates) limits the
// drawing further when given.
void DrawRun(DeviceContext& context, RealizedFont& font, std::u32string_view text,
             const RunLayout& layout, int x, int y, const std::optional<RECT>& clip);

// Underlines the columns [left, right) of a line whose cell top is y, in the text colour.
void DrawUnderline(DeviceContext& context, RealizedFont& font, int left, int right, int y,
                   const std::optional<RECT>& clip);

} // namespace posix::gdi
