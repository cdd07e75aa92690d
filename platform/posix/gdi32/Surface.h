#pragma once

// A 32-bit pixel surface that device contexts draw on. The memory belongs to whoever made
// the surface (the window system for windows, a bitmap object for memory drawing).

#include "platform/win32.h"

#include <cstddef>
#include <cstdint>

namespace posix::gdi {

struct Surface {
    std::uint32_t* Pixels = nullptr; // 0x00RRGGBB per pixel, rows from top to bottom
    int Width = 0;                   // in pixels
    int Height = 0;                  // in pixels
    int Stride = 0;                  // pixels from the start of one row to the next

    std::uint32_t& At(int x, int y) const {
        return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride) +
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
