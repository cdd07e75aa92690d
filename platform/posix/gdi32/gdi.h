#pragma once

// What the rest of the layer (window system, display, test driver) uses of the drawing
// engine, beyond the Win32 functions themselves.

#include "platform/posix/gdi32/Region.h"
#include "platform/posix/gdi32/Surface.h"
#include "platform/win32.h"

#include <cstdint>
#include <optional>
#include <string>

namespace posix::gdi {

// A device context drawing on a surface that its caller owns and keeps alive until the
// context is deleted with DeleteDC: the context's point (0, 0) is at 'origin' on the
// surface, and drawing is limited to 'visible' (surface coordinates).
HDC CreateSurfaceDC(const Surface& surface, POINT origin, const Region& visible);

// The pixels of a region, and replacing them; false / empty for a handle that is no region.
std::optional<Region> RegionOf(HRGN region);
bool SetRegion(HRGN region, const Region& value);

// Writes an area of a surface, cut to the surface, as an RGB PNG file.
bool WritePng(const Surface& surface, const RECT& area, const std::string& path);

// The family name of the face a font draws with; empty when it has none.
std::string FontFamilyOf(HFONT font);

// The stock object of a GetStockObject index; null for an index that has none.
HGDIOBJ StockObject(int index);
// The 1 by 1 bitmap a new memory context draws on.
HBITMAP DefaultBitmap();

// The system colour brushes: a solid brush that DeleteObject leaves alone, as it leaves stock
// objects, and its new colour when SetSysColors changes the scheme (a handle that is no brush
// is left as it is).
HBRUSH CreateStockBrush(COLORREF color);
void SetBrushColor(HBRUSH brush, COLORREF color);

// For tests: glyph images rendered so far, and live drawing objects (stock ones included).
std::uint64_t GlyphRenderCount();
std::size_t LiveObjectCount();

} // namespace posix::gdi
