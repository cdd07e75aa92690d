#pragma once

// A device context: where drawing goes (a surface, the logical origin on it and the part of
// it that may be drawn on), the objects selected into it and its drawing state.

#include "platform/posix/gdi32/GdiObjects.h"

#include <optional>

namespace posix::gdi {

class RealizedFont;

struct DeviceContext : GdiObject {
    static constexpr ObjectKind KindValue = ObjectKind::DeviceContext;
    DeviceContext(const Surface& target, POINT origin, Region visible);

    // Where drawing goes. Memory contexts draw on their selected bitmap.
    void SetTarget(const Surface& target, POINT origin, Region visible);
    // The application's clip region in the context's own coordinates; none for no clipping.
    void SetClip(std::optional<Region> clip);
    const std::optional<Region>& Clip() const { return clip_; }
    // The surface pixels drawing may change: visible, inside the clip and on the surface.
    const Region& Drawable();
    // A rectangle of the context's coordinates in surface coordinates, and back. Surface
    // coordinates are held within 2^29 of 0, so sums and differences of a few of them fit.
    RECT ToSurface(const RECT& rect) const;
    RECT FromSurface(const RECT& rect) const;
    RealizedFont& Font() const;

    Surface Target;
    POINT Origin{0, 0}; // surface position of the context's point (0, 0)
    bool Memory = false;
    HGDIOBJ Pen = nullptr;
    HGDIOBJ Brush = nullptr;
    HGDIOBJ SelectedFont = nullptr;
    HGDIOBJ Bitmap = nullptr; // memory contexts only
    COLORREF TextColor = 0x000000;
    COLORREF BkColor = 0xFFFFFF;
    int BkMode = OPAQUE;
    UINT TextAlign = TA_LEFT | TA_TOP;
    POINT BrushOrigin{0, 0};
    POINT Position{0, 0}; // the current position of MoveToEx and LineTo

private:
    Region visible_;
    std::optional<Region> clip_;
    std::optional<Region> drawable_; // cached; dropped when what makes it changes
};

} // namespace posix::gdi
