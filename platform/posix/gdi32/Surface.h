#pragma once

// A 32-bit pixel surface that device contexts draw on. The memory belongs to whoever made
// the surface (the window system for windows, a bitmap object for memory drawing).
//
// A surface shown on a display that enlarges every pixel to a Detail-by-Detail block may
// carry the same picture at that finer resolution: drawing keeps it in step, text drawn from
// the font rasterized at Detail times its size and everything else as blocks, so the display
// can show sharp letters while the program reads and measures only the 96-DPI pixels.

#include "platform/win32.h"

#include <cstddef>
#include <cstdint>

namespace posix::gdi {

struct Surface {
    std::uint32_t* Pixels = nullptr; // 0x00RRGGBB per pixel, rows from top to bottom
    int Width = 0;                   // in pixels
    int Height = 0;                  // in pixels
    int Stride = 0;                  // pixels from the start of one row to the next
    // The picture at Detail times the resolution, Stride * Detail pixels a row; null when the
    // surface has none.
    std::uint32_t* DetailPixels = nullptr;
    int Detail = 1;

    std::uint32_t& At(int x, int y) const {
        return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride) +
                      static_cast<std::size_t>(x)];
    }
    bool HasDetail() const { return DetailPixels != nullptr && Detail > 1; }
    // A pixel of the detailed picture, in its own coordinates.
    std::uint32_t& DetailAt(int x, int y) const {
        return DetailPixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride) *
                                static_cast<std::size_t>(Detail) +
                            static_cast<std::size_t>(x)];
    }
    RECT Bounds() const { return RECT{0, 0, Width, Height}; }
};

// COLORREF keeps red in the low byte; surface pixels keep blue there.
constexpr std::uint32_t PixelFromColor(COLORREF color) {
    return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}
constexpr COLORREF ColorFromPixel(std::uint32_t pixel) {
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}

} // namespace posix::gdi
