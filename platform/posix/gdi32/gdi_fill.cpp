// Fills, frames, edges, lines and pixels.

#include "platform/posix/gdi32/DeviceContext.h"
#include "platform/posix/gdi32/Painter.h"
#include "platform/posix/gdi32/gdi.h"
#include "platform/win32.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>

using posix::gdi::BrushObject;
using posix::gdi::DeviceContext;
using posix::gdi::ObjectTable;
using posix::gdi::Paint;
using posix::gdi::Painter;
using posix::gdi::PenObject;
using posix::gdi::PixelFromColor;
using posix::gdi::Region;

namespace {

// Rows of the 8 by 8 hatch patterns, the leftmost pixel in the top bit.
constexpr std::array<std::array<std::uint8_t, 8>, 6> hatchRows = {{
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF}, // HS_HORIZONTAL
    {0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01}, // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // HS_BDIAGONAL
    {0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0xFF}, // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // HS_DIAGCROSS
}};

// The largest value FillRect takes as a system colour index plus one.
constexpr std::uintptr_t lastSystemColorBrush = 31;

DeviceContext* FindDC(HDC dc) {
    return ObjectTable::Instance().FindAs<DeviceContext>(dc);
}

std::uint32_t SystemPixel(int index) {
    return PixelFromColor(GetSysColor(index));
}

Paint SolidPaint(std::uint32_t pixel) {
    Paint paint;
    paint.Type = Paint::Kind::Solid;
    paint.Pixel = pixel;
    return paint;
}

Paint TiledPaint(const DeviceContext& context, int width, int height) {
    Paint paint;
    paint.Type = Paint::Kind::Tiled;
    paint.TileWidth = width;
    paint.TileHeight = height;
    paint.Tile.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    paint.TileOrigin =
        POINT{context.Origin.x + context.BrushOrigin.x, context.Origin.y + context.BrushOrigin.y};
    return paint;
}

Paint HatchPaint(const DeviceContext& context, const LOGBRUSH& brush) {
    Paint paint = TiledPaint(context, 8, 8);
    const std::uint32_t line = PixelFromColor(brush.lbColor);
    const std::uint32_t gap =
        context.BkMode == OPAQUE ? PixelFromColor(context.BkColor) : Paint::Clear;
    const auto& rows = hatchRows[brush.lbHatch];
    for (std::size_t y = 0; y < 8; ++y) {
        for (std::size_t x = 0; x < 8; ++x) {
            paint.Tile[y * 8 + x] = (rows[y] & (0x80u >> x)) != 0 ? line : gap;
        }
    }
    return paint;
}

// Monochrome patterns take their colours from the context: black pixels the text colour,
// white ones the background colour.
Paint PatternPaint(const DeviceContext& context, const posix::gdi::BitmapPixels& pattern) {
    Paint paint = TiledPaint(context, pattern.Width, pattern.Height);
    for (std::size_t i = 0; i < pattern.Pixels.size(); ++i) {
        std::uint32_t pixel = pattern.Pixels[i];
        if (pattern.Monochrome) {
            pixel = PixelFromColor(pixel == 0 ? context.TextColor : context.BkColor);
        }
        paint.Tile[i] = pixel;
    }
    return paint;
}

// What a brush handle paints with in a context; empty for a handle that is no brush.
std::optional<Paint> PaintOf(const DeviceContext& context, HBRUSH handle) {
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    if (value >= 1 && value <= lastSystemColorBrush) {
        return SolidPaint(SystemPixel(static_cast<int>(value - 1)));
    }
    const BrushObject* brush = ObjectTable::Instance().FindAs<BrushObject>(handle);
    if (brush == nullptr) {
        return std::nullopt;
    }
    switch (brush->Brush.lbStyle) {
    case BS_SOLID:
        return SolidPaint(PixelFromColor(brush->Brush.lbColor));
    case BS_HATCHED:
        return HatchPaint(context, brush->Brush);
    case BS_PATTERN:
        return PatternPaint(context, *brush->Pattern);
    default:
        return Paint{};
    }
}

// The one-pixel border of a rectangle, each pixel once however thin the rectangle.
Region BorderOf(const RECT& r) {
    const RECT sides[] = {
        {r.left, r.top, r.right, r.top + 1},
        {r.left, r.bottom - 1, r.right, r.bottom},
        {r.left, r.top, r.left + 1, r.bottom},
        {r.right - 1, r.top, r.right, r.bottom},
    };
    return posix::gdi::IsEmptyRect(r) ? Region() : Region::FromRects(sides);
}

// i * across / steps rounded to the nearest integer (halves up), for steps > 0. Line
// lengths reach 2^33, so the product needs more than 64 bits.
std::int64_t ScaledStep(std::int64_t i, std::int64_t across, std::int64_t steps) {
    const __int128 twice = __int128{i} * across * 2 + steps;
    const __int128 d = __int128{steps} * 2;
    return static_cast<std::int64_t>(twice >= 0 ? twice / d : -((-twice + d - 1) / d));
}

// The pixels of a line from 'from' to 'to' (surface coordinates), the last one left out as
// Win32 does, as squares of the pen's width. Only the part near the surface is walked, so a
// line of any length costs at most the surface's size.
void DrawLine(DeviceContext& context, POINT from, POINT to, std::uint32_t pixel, int width) {
    const std::int64_t x0 = std::int64_t{from.x} + context.Origin.x;
    const std::int64_t y0 = std::int64_t{from.y} + context.Origin.y;
    const std::int64_t dx = std::int64_t{to.x} - from.x;
    const std::int64_t dy = std::int64_t{to.y} - from.y;
    const std::int64_t steps = std::max(std::llabs(dx), std::llabs(dy));
    if (steps == 0) {
        return;
    }
    const bool alongX = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t start = alongX ? x0 : y0;
    const std::int64_t direction = (alongX ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t across = alongX ? dy : dx;
    const std::int64_t low = -width;
    const std::int64_t high = (alongX ? context.Target.Width : context.Target.Height) + width;
    // Steps i whose main coordinate start + i * direction lies in [low, high].
    std::int64_t first = direction > 0 ? low - start : start - high;
    std::int64_t last = direction > 0 ? high - start : start - low;
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, steps - 1);
    Painter painter(context.Target, context.Drawable());
    const int half = (width - 1) / 2;
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t main = start + i * direction;
        const std::int64_t side = (alongX ? y0 : x0) + ScaledStep(i, across, steps);
        const std::int64_t x = (alongX ? main : side) - half;
        const std::int64_t y = (alongX ? side : main) - half;
        painter.FillSolid(posix::gdi::SaturatedRect(x, y, x + width, y + width), pixel);
    }
}

struct EdgeLayer {
    bool Present = false;
    int TopLeft = 0;     // system colour of the top and left lines
    int BottomRight = 0; // system colour of the bottom and right lines
};

EdgeLayer OuterLayer(UINT edge) {
    if ((edge & BDR_RAISEDOUTER) != 0) {
        return EdgeLayer{true, COLOR_3DLIGHT, COLOR_3DDKSHADOW};
    }
    if ((edge & BDR_SUNKENOUTER) != 0) {
        return EdgeLayer{true, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
    }
    return EdgeLayer{};
}

EdgeLayer InnerLayer(UINT edge) {
    if ((edge & BDR_RAISEDINNER) != 0) {
        return EdgeLayer{true, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW};
    }
    if ((edge & BDR_SUNKENINNER) != 0) {
        return EdgeLayer{true, COLOR_3DDKSHADOW, COLOR_3DLIGHT};
    }
    return EdgeLayer{};
}

// One line of an edge on each chosen side. The bottom and right lines take the corners
// they share with the top and left lines.
void DrawEdgeLayer(Painter& painter, const RECT& r, UINT sides, const EdgeLayer& layer) {
    const std::uint32_t light = SystemPixel(layer.TopLeft);
    const std::uint32_t dark = SystemPixel(layer.BottomRight);
    const LONG topEnd = (sides & BF_RIGHT) != 0 ? r.right - 1 : r.right;
    const LONG leftEnd = (sides & BF_BOTTOM) != 0 ? r.bottom - 1 : r.bottom;
    if ((sides & BF_TOP) != 0) {
        painter.FillSolid(RECT{r.left, r.top, topEnd, r.top + 1}, light);
    }
    if ((sides & BF_LEFT) != 0) {
        painter.FillSolid(RECT{r.left, r.top, r.left + 1, leftEnd}, light);
    }
    if ((sides & BF_RIGHT) != 0) {
        painter.FillSolid(RECT{r.right - 1, r.top, r.right, r.bottom}, dark);
    }
    if ((sides & BF_BOTTOM) != 0) {
        painter.FillSolid(RECT{r.left, r.bottom - 1, r.right, r.bottom}, dark);
    }
}

RECT Shrunk(const RECT& r, UINT sides) {
    return RECT{r.left + ((sides & BF_LEFT) != 0 ? 1 : 0), r.top + ((sides & BF_TOP) != 0 ? 1 : 0),
                r.right - ((sides & BF_RIGHT) != 0 ? 1 : 0),
                r.bottom - ((sides & BF_BOTTOM) != 0 ? 1 : 0)};
}

const LOGPEN& SelectedPen(const DeviceContext& context) {
    return ObjectTable::Instance().FindAs<PenObject>(context.Pen)->Pen;
}

// The pixels of an area of a surface (inside it), row by row.
std::vector<std::uint32_t> ReadPixels(const posix::gdi::Surface& surface, const RECT& area) {
    const auto columns = static_cast<std::size_t>(area.right - area.left);
    std::vector<std::uint32_t> pixels;
    pixels.reserve(columns * static_cast<std::size_t>(area.bottom - area.top));
    for (int row = area.top; row < area.bottom; ++row) {
        const std::uint32_t* line = &surface.At(area.left, row);
        pixels.insert(pixels.end(), line, line + columns);
    }
    return pixels;
}

// The detailed pixels under an area of a surface that has detail, row by row.
std::vector<std::uint32_t> ReadDetailPixels(const posix::gdi::Surface& surface, const RECT& area) {
    const int d = surface.Detail;
    const auto columns = static_cast<std::size_t>(area.right - area.left) * d;
    std::vector<std::uint32_t> pixels;
    pixels.reserve(columns * static_cast<std::size_t>(area.bottom - area.top) * d);
    for (int row = area.top * d; row < area.bottom * d; ++row) {
        const std::uint32_t* line = &surface.DetailAt(area.left * d, row);
        pixels.insert(pixels.end(), line, line + columns);
    }
    return pixels;
}

} // namespace

int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr || rect == nullptr) {
        return 0;
    }
    const std::optional<Paint> paint = PaintOf(*context, brush);
    if (!paint) {
        return 0;
    }
    Painter(context->Target, context->Drawable()).Fill(context->ToSurface(*rect), *paint);
    return 1;
}

int WINAPI FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr || rect == nullptr) {
        return 0;
    }
    const std::optional<Paint> paint = PaintOf(*context, brush);
    if (!paint) {
        return 0;
    }
    Painter painter(context->Target, context->Drawable());
    const Region border = BorderOf(context->ToSurface(*rect));
    for (const RECT& side : border.Rects()) {
        painter.Fill(side, *paint);
    }
    return 1;
}

BOOL WINAPI DrawFocusRect(HDC dc, const RECT* rect) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr || rect == nullptr) {
        return FALSE;
    }
    Painter painter(context->Target, context->Drawable());
    const Region border = BorderOf(context->ToSurface(*rect));
    for (const RECT& side : border.Rects()) {
        painter.InvertDotted(side, context->Origin);
    }
    return TRUE;
}

BOOL WINAPI DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr || rect == nullptr || (flags & BF_DIAGONAL) != 0) {
        return FALSE;
    }
    EdgeLayer outer = OuterLayer(edge);
    EdgeLayer inner = InnerLayer(edge);
    if ((flags & BF_MONO) != 0) {
        outer = EdgeLayer{outer.Present, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
        inner = EdgeLayer{inner.Present, COLOR_WINDOW, COLOR_WINDOW};
    } else if ((flags & BF_FLAT) != 0) {
        outer = EdgeLayer{outer.Present, COLOR_BTNSHADOW, COLOR_BTNSHADOW};
        inner = EdgeLayer{inner.Present, COLOR_BTNFACE, COLOR_BTNFACE};
    } else if ((flags & BF_SOFT) != 0 && (edge & BDR_RAISED) == BDR_RAISED) {
        // The soft raised edge of push buttons: the brightest line outermost.
        std::swap(outer.TopLeft, inner.TopLeft);
    }
    const UINT sides = flags & BF_RECT;
    Painter painter(context->Target, context->Drawable());
    RECT r = context->ToSurface(*rect);
    for (const EdgeLayer& layer : {outer, inner}) {
        if (layer.Present) {
            DrawEdgeLayer(painter, r, sides, layer);
            r = Shrunk(r, sides);
        }
    }
    if ((flags & BF_MIDDLE) != 0) {
        painter.FillSolid(r, SystemPixel((flags & BF_MONO) != 0 ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    if ((flags & BF_ADJUST) != 0) {
        *rect = context->FromSurface(r);
    }
    return TRUE;
}

// The outline takes the pen's width inside the rectangle. Without a pen the fill is one
// pixel smaller to the right and bottom, as Win32 draws it.
BOOL WINAPI Rectangle(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr) {
        return FALSE;
    }
    RECT r = context->ToSurface(RECT{std::min(left, right), std::min(top, bottom),
                                     std::max(left, right), std::max(top, bottom)});
    Painter painter(context->Target, context->Drawable());
    const LOGPEN& pen = SelectedPen(*context);
    if (pen.lopnStyle == PS_NULL) {
        r.right = std::max(r.left, r.right - 1);
        r.bottom = std::max(r.top, r.bottom - 1);
    } else {
        const std::uint32_t pixel = PixelFromColor(pen.lopnColor);
        for (LONG ring = 0;
             ring < std::max<LONG>(1, pen.lopnWidth.x) && !posix::gdi::IsEmptyRect(r); ++ring) {
            const Region border = BorderOf(r);
            for (const RECT& side : border.Rects()) {
                painter.FillSolid(side, pixel);
            }
            r = Shrunk(r, BF_RECT);
        }
    }
    const std::optional<Paint> paint = PaintOf(*context, static_cast<HBRUSH>(context->Brush));
    if (paint && !posix::gdi::IsEmptyRect(r)) {
        painter.Fill(r, *paint);
    }
    return TRUE;
}

BOOL WINAPI LineTo(HDC dc, int x, int y) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr) {
        return FALSE;
    }
    const LOGPEN& pen = SelectedPen(*context);
    if (pen.lopnStyle != PS_NULL) {
        const int width = static_cast<int>(std::clamp<LONG>(pen.lopnWidth.x, 1, 1024));
        DrawLine(*context, context->Position, POINT{x, y}, PixelFromColor(pen.lopnColor), width);
    }
    context->Position = POINT{x, y};
    return TRUE;
}

COLORREF WINAPI GetPixel(HDC dc, int x, int y) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr) {
        return CLR_INVALID;
    }
    const RECT at = context->ToSurface(RECT{x, y, x, y});
    if (!context->Drawable().Contains(at.left, at.top)) {
        return CLR_INVALID;
    }
    return posix::gdi::ColorFromPixel(context->Target.At(at.left, at.top));
}

COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF color) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr) {
        return CLR_INVALID;
    }
    const RECT at = context->ToSurface(RECT{x, y, x, y});
    if (!context->Drawable().Contains(at.left, at.top)) {
        return CLR_INVALID;
    }
    Painter(context->Target, context->Drawable())
        .FillSolid(RECT{at.left, at.top, at.left + 1, at.top + 1}, PixelFromColor(color));
    return color & 0x00FFFFFFu;
}

// Copies from the source surface as it is (its clipping does not apply, as in Win32);
// pixels beyond the source surface are left alone in the destination.
BOOL WINAPI BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, DWORD rop) {
    DeviceContext* to = FindDC(destination);
    DeviceContext* from = FindDC(source);
    if (to == nullptr || from == nullptr || rop != SRCCOPY || width < 0 || height < 0) {
        return FALSE;
    }
    const RECT wanted = from->ToSurface(posix::gdi::SaturatedRect(
        sourceX, sourceY, std::int64_t{sourceX} + width, std::int64_t{sourceY} + height));
    const RECT available = posix::gdi::IntersectRects(wanted, from->Target.Bounds());
    if (posix::gdi::IsEmptyRect(available)) {
        return TRUE;
    }
    // The pixels are read first, so a copy within one surface may overlap itself.
    const std::vector<std::uint32_t> pixels = ReadPixels(from->Target, available);
    const std::int64_t left = std::int64_t{x} + (available.left - wanted.left);
    const std::int64_t top = std::int64_t{y} + (available.top - wanted.top);
    const RECT target = to->ToSurface(
        posix::gdi::SaturatedRect(left, top, left + (available.right - available.left),
                                  top + (available.bottom - available.top)));
    if (target.right - target.left != available.right - available.left ||
        target.bottom - target.top != available.bottom - available.top) {
        return FALSE;
    }
    // Detail of the same fineness travels with the pixels; otherwise they arrive as blocks.
    const bool detailed = from->Target.HasDetail() && to->Target.HasDetail() &&
                          from->Target.Detail == to->Target.Detail;
    const std::vector<std::uint32_t> detailPixels =
        detailed ? ReadDetailPixels(from->Target, available) : std::vector<std::uint32_t>{};
    Painter(to->Target, to->Drawable()).Copy(target, pixels, detailed ? &detailPixels : nullptr);
    return TRUE;
}
