#pragma once

// A set of pixels made of rectangles, kept in one canonical form: disjoint rectangles in
// horizontal bands from top to bottom, each band's rectangles from left to right, with
// touching rectangles of a band and identical neighbouring bands merged. Two regions that
// cover the same pixels therefore have the same rectangles.

#include "platform/win32.h"

#include <optional>
#include <span>
#include <vector>

namespace posix::gdi {

class Region {
public:
    enum class Operation { And, Or, Xor, Diff };

    Region() = default;
    explicit Region(const RECT& rect);
    // The union of any rectangles, overlapping or not; empty ones are ignored.
    static Region FromRects(std::span<const RECT> rects);

    const std::vector<RECT>& Rects() const { return rects_; }
    bool IsEmpty() const { return rects_.empty(); }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Complexity() const;
    // The smallest rectangle holding the region; all zero when it is empty.
    RECT Bounds() const;
    bool Contains(int x, int y) const;
    // Moves the region; coordinates that would leave the 32-bit range stop at its ends.
    void Offset(int dx, int dy);
    Region Combined(const Region& other, Operation operation) const;

    bool operator==(const Region& other) const;

private:
    std::optional<Region> Shortcut(const Region& other, Operation operation) const;

    std::vector<RECT> rects_;
};

bool IsEmptyRect(const RECT& rect);
RECT IntersectRects(const RECT& a, const RECT& b);
// Whether the outer rectangle holds every pixel of the inner one.
bool Covers(const RECT& outer, const RECT& inner);

} // namespace posix::gdi
