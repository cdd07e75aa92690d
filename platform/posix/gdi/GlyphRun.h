#pragma once

// A run of text on one line: where its characters go, and drawing it on a device context.

#include "platform/posix/gdi/DeviceContext.h"
#include "platform/posix/gdi/RealizedFont.h"

#include <optional>
#include <string_view>
#include <vector>

namespace posix::gdi {

struct RunLayout {
    std::vector<int> Offsets; // where each character starts, from the start of the run
    int Width = 0;
};

// Lays a run out with the font's advances, or with the given ones (one per character).
// Control characters take no room and show nothing; with a positive tab width a tab moves
// to the next multiple of it.
RunLayout LayOutRun(RealizedFont& font, std::u32string_view text, int tabWidth,
                    const std::vector<int>* advances = nullptr);

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
