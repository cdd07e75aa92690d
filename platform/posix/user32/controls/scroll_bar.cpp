// Layout, hit testing and drawing of the classic scroll bar.

#include "platform/posix/user32/controls/scroll_bar.h"

#include "platform/posix/user32/controls/control_paint.h"

#include <algorithm>

namespace posix {
namespace {

// Lengths along the bar, and the bar's thickness across it.
int Along(const RECT& rect, bool vertical) {
    return vertical ? rect.bottom - rect.top : rect.right - rect.left;
}
int Across(const RECT& rect, bool vertical) {
    return vertical ? rect.right - rect.left : rect.bottom - rect.top;
}

// The part of the bar from 'from' to 'to' pixels along it.
RECT Segment(const RECT& bar, bool vertical, int from, int to) {
    if (vertical) {
        return {bar.left, bar.top + from, bar.right, bar.top + to};
    }
    return {bar.left + from, bar.top, bar.left + to, bar.bottom};
}

bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

bool IsEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

int Scrollable(const ScrollRange& range) {
    return std::max(0, range.Total - range.Page);
}

// A filled triangle pointing to the start or the end of the bar: rows one pixel longer at each
// end than the row before, from the tip to the base.
void DrawArrow(HDC dc, const RECT& face, bool vertical, bool towardsEnd, HBRUSH brush) {
    const int rows = std::max(2, std::min(Along(face, vertical), Across(face, vertical)) / 3);
    const int centreX = (face.left + face.right) / 2;
    const int centreY = (face.top + face.bottom) / 2;
    for (int row = 0; row < rows; ++row) {
        const int step = towardsEnd ? rows - 1 - row : row;
        RECT line{};
        if (vertical) {
            const int y = centreY - rows / 2 + step;
            line = {centreX - row, y, centreX + row + 1, y + 1};
        } else {
            const int x = centreX - rows / 2 + step;
            line = {x, centreY - row, x + 1, centreY + row + 1};
        }
        FillRect(dc, &line, brush);
    }
}

// The track in the classic dither of highlight and scroll-bar colour.
void DrawTrack(HDC dc, const RECT& track) {
    FillRect(dc, &track, GetSysColorBrush(COLOR_SCROLLBAR));
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    for (int y = track.top; y < track.bottom; ++y) {
        for (int x = track.left + ((track.left + y) & 1); x < track.right; x += 2) {
            SetPixel(dc, x, y, light);
        }
    }
}

} // namespace

ScrollBarParts LayOutScrollBar(const RECT& bar, bool vertical, const ScrollRange& range) {
    ScrollBarParts parts;
    parts.Vertical = vertical;
    parts.Bar = bar;
    const int length = Along(bar, vertical);
    const int arrow = std::min(Across(bar, vertical), length / 2);
    parts.LineUp = Segment(bar, vertical, 0, arrow);
    parts.LineDown = Segment(bar, vertical, length - arrow, length);
    parts.Track = Segment(bar, vertical, arrow, length - arrow);
    const int track = length - 2 * arrow;
    const int scrollable = Scrollable(range);
    if (scrollable == 0 || range.Total <= 0 || track < MinThumbLength) {
        return parts;
    }
    const long long proportional = static_cast<long long>(track) * range.Page / range.Total;
    const int thumb = static_cast<int>(std::clamp<long long>(proportional, MinThumbLength, track));
    const int position = std::clamp(range.Position, 0, scrollable);
    const int start =
        static_cast<int>(static_cast<long long>(track - thumb) * position / scrollable);
    parts.Thumb = Segment(bar, vertical, arrow + start, arrow + start + thumb);
    return parts;
}

int ScrollBarPartAt(const ScrollBarParts& parts, POINT point) {
    if (!Contains(parts.Bar, point)) {
        return -1;
    }
    if (Contains(parts.LineUp, point)) {
        return SB_LINEUP;
    }
    if (Contains(parts.LineDown, point)) {
        return SB_LINEDOWN;
    }
    if (IsEmpty(parts.Thumb)) {
        return -1;
    }
    if (Contains(parts.Thumb, point)) {
        return SB_THUMBTRACK;
    }
    const int at = parts.Vertical ? point.y : point.x;
    const int thumbStart = parts.Vertical ? parts.Thumb.top : parts.Thumb.left;
    return at < thumbStart ? SB_PAGEUP : SB_PAGEDOWN;
}

int PositionForThumb(const ScrollBarParts& parts, const ScrollRange& range, int along) {
    const int free = Along(parts.Track, parts.Vertical) - Along(parts.Thumb, parts.Vertical);
    const int scrollable = Scrollable(range);
    if (free <= 0 || scrollable == 0) {
        return 0;
    }
    const int clamped = std::clamp(along, 0, free);
    // Rounded to the nearest position, so the thumb lands where it was dropped.
    return static_cast<int>((static_cast<long long>(clamped) * scrollable + free / 2) / free);
}

void DrawScrollBar(HDC dc, const ScrollBarParts& parts, bool enabled) {
    const bool scrolls = enabled && !IsEmpty(parts.Thumb);
    const HBRUSH arrowBrush = GetSysColorBrush(scrolls ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    const RECT up = DrawRaisedFace(dc, parts.LineUp);
    DrawArrow(dc, up, parts.Vertical, false, arrowBrush);
    const RECT down = DrawRaisedFace(dc, parts.LineDown);
    DrawArrow(dc, down, parts.Vertical, true, arrowBrush);
    DrawTrack(dc, parts.Track);
    if (scrolls) {
        DrawRaisedFace(dc, parts.Thumb);
    }
}

} // namespace posix
