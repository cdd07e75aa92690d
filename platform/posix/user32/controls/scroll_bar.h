#pragma once

// The classic scroll bar the list box draws in its frame: two arrow buttons, the track between
// them and a thumb sized to the visible page.

#include "platform/win32.h"

namespace posix {

// A scrolled range: Total units, of which Page show at once, starting at Position
// (0 <= Position <= Total - Page).
struct ScrollRange {
    int Total = 0;
    int Page = 0;
    int Position = 0;
};

struct ScrollBarParts {
    bool Vertical = true;
    RECT Bar{};
    RECT LineUp{};   // the arrow towards the start (up or left)
    RECT LineDown{}; // the arrow towards the end
    RECT Track{};    // between the arrows
    RECT Thumb{};    // empty when there is nothing to scroll or no room for it
};

// Smallest length of a thumb, so that it stays easy to grab in a long list.
inline constexpr int MinThumbLength = 8;

ScrollBarParts LayOutScrollBar(const RECT& bar, bool vertical, const ScrollRange& range);

// The SB_ code of a press at a point of the bar (SB_LINEUP, SB_LINEDOWN, SB_PAGEUP,
// SB_PAGEDOWN, SB_THUMBTRACK on the thumb), or -1 outside the bar.
int ScrollBarPartAt(const ScrollBarParts& parts, POINT point);

// The position that puts the thumb's start at 'along' (pixels from the track's start).
int PositionForThumb(const ScrollBarParts& parts, const ScrollRange& range, int along);

void DrawScrollBar(HDC dc, const ScrollBarParts& parts, bool enabled);

} // namespace posix
