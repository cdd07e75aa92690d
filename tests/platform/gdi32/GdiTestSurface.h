#pragma once

// A pixel surface with a device context over it, and probes that read its pixels back.

#include "platform/posix/gdi32/gdi.h"
#include "platform/win32.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

class GdiTestSurface {
public:
    GdiTestSurface(int width, int height, COLORREF fill = RGB(255, 255, 255))
        : pixels_(static_cast<std::size_t>(width) * height, posix::gdi::PixelFromColor(fill)),
          surface_{pixels_.data(), width, height, width},
          dc_(posix::gdi::CreateSurfaceDC(surface_, POINT{0, 0},
                                          posix::gdi::Region(surface_.Bounds()))) {}
    ~GdiTestSurface() { DeleteDC(dc_); }
    GdiTestSurface(const GdiTestSurface&) = delete;
    GdiTestSurface& operator=(const GdiTestSurface&) = delete;

    HDC Dc() const { return dc_; }
    const posix::gdi::Surface& Surface() const { return surface_; }
    COLORREF At(int x, int y) const { return posix::gdi::ColorFromPixel(surface_.At(x, y)); }
    void Clear(COLORREF color) {
        std::fill(pixels_.begin(), pixels_.end(), posix::gdi::PixelFromColor(color));
    }

    // Pixels inside the rectangle (cut to the surface) that differ from the colour.
    int CountOther(const RECT& rect, COLORREF color) const {
        const RECT r = posix::gdi::IntersectRects(rect, surface_.Bounds());
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                count += At(x, y) != color ? 1 : 0;
            }
        }
        return count;
    }
    int CountOther(COLORREF color) const { return CountOther(surface_.Bounds(), color); }

    // The smallest rectangle holding every pixel that differs from the colour; empty when
    // there is none.
    RECT InkBounds(COLORREF background) const {
        RECT bounds{surface_.Width, surface_.Height, 0, 0};
        for (int y = 0; y < surface_.Height; ++y) {
            for (int x = 0; x < surface_.Width; ++x) {
                if (At(x, y) != background) {
                    bounds = RECT{std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y),
                                  std::max<LONG>(bounds.right, x + 1),
                                  std::max<LONG>(bounds.bottom, y + 1)};
                }
            }
        }
        return bounds.left < bounds.right ? bounds : RECT{0, 0, 0, 0};
    }

private:
    std::vector<std::uint32_t> pixels_;
    posix::gdi::Surface surface_;
    HDC dc_;
};

// A font made from a face name and height, deleted with the test.
class GdiTestFont {
public:
    explicit GdiTestFont(const char* face, LONG height, LONG weight = FW_NORMAL, BYTE italic = 0,
                         BYTE underline = 0, BYTE strikeOut = 0) {
        LOGFONTA description{};
        description.lfHeight = height;
        description.lfWeight = weight;
        description.lfItalic = italic;
        description.lfUnderline = underline;
        description.lfStrikeOut = strikeOut;
        description.lfCharSet = DEFAULT_CHARSET;
        std::strncpy(description.lfFaceName, face, LF_FACESIZE - 1);
        font_ = CreateFontIndirectA(&description);
    }
    ~GdiTestFont() { DeleteObject(font_); }
    GdiTestFont(const GdiTestFont&) = delete;
    GdiTestFont& operator=(const GdiTestFont&) = delete;

    HFONT Handle() const { return font_; }

private:
    HFONT font_ = nullptr;
};
