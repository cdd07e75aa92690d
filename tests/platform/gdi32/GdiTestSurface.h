#pragma once

// A pixel surface with a device context over it, and probes that read its pixels back. With a
// detail above 1 the surface also keeps a detailed picture, as windows on a scaled display do.

#include "platform/posix/gdi32/gdi.h"
#include "platform/win32.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

// Detailed pixels of a surface that differ from the surface pixel they lie on (finer than
// blocks), under the part 'within' (surface coordinates) of the surface.
inline int CountFinerPixels(const posix::gdi::Surface& surface, const RECT& within) {
    const int d = surface.Detail;
    const RECT r = posix::gdi::IntersectRects(within, surface.Bounds());
    int count = 0;
    for (int y = r.top * d; y < r.bottom * d; ++y) {
        for (int x = r.left * d; x < r.right * d; ++x) {
            count += surface.DetailAt(x, y) != surface.At(x / d, y / d) ? 1 : 0;
        }
    }
    return count;
}

class GdiTestSurface {
public:
    GdiTestSurface(int width, int height, COLORREF fill = RGB(255, 255, 255), int detail = 1)
        : pixels_(static_cast<std::size_t>(width) * height, posix::gdi::PixelFromColor(fill)),
          detailPixels_(detail > 1 ? pixels_.size() * detail * detail : 0,
                        posix::gdi::PixelFromColor(fill)),
          surface_{
              pixels_.data(), width, height, width, detail > 1 ? detailPixels_.data() : nullptr,
              detail},
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

    const std::vector<std::uint32_t>& Pixels() const { return pixels_; }
    const std::vector<std::uint32_t>& DetailPixels() const { return detailPixels_; }

    int FinerPixels(const RECT* within = nullptr) const {
        return CountFinerPixels(surface_, within != nullptr ? *within : surface_.Bounds());
    }
    int CountDetail(COLORREF color) const {
        return static_cast<int>(std::count(detailPixels_.begin(), detailPixels_.end(),
                                           posix::gdi::PixelFromColor(color)));
    }

private:
    std::vector<std::uint32_t> pixels_;
    std::vector<std::uint32_t> detailPixels_;
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
