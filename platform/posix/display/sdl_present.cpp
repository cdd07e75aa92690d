#include "platform/posix/display/sdl_present.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace posix {

namespace {

// Repeats each pixel of a converted row 'scale' times; 'bytes' is the size of one pixel.
void WidenRow(const std::uint8_t* from, int width, std::size_t bytes, int scale, std::uint8_t* to) {
    for (int x = 0; x < width; ++x) {
        for (int copy = 0; copy < scale; ++copy) {
            std::memcpy(to, from, bytes);
            to += bytes;
        }
        from += bytes;
    }
}

} // namespace

SDL_Rect ScaledArea(const SDL_Rect& area, int scale) {
    return SDL_Rect{area.x * scale, area.y * scale, area.w * scale, area.h * scale};
}

bool CopyChangedPixels(const gdi::Surface& pixels, SDL_Surface& target, const SDL_Rect& area,
                       int scale) {
    const int left = std::max(area.x, 0);
    const int top = std::max(area.y, 0);
    const int right = std::min({area.x + area.w, pixels.Width, target.w / scale});
    const int bottom = std::min({area.y + area.h, pixels.Height, target.h / scale});
    if (right <= left || bottom <= top) {
        return false;
    }
    // Rows of the source picture as the native surface shows them: the detailed picture's
    // own, or the window's pixels each repeated 'scale' times across and down.
    const bool detailed = pixels.HasDetail() && pixels.Detail == scale;
    const int repeat = detailed ? 1 : scale;
    const int columns = (right - left) * (detailed ? scale : 1);
    const int rows = (bottom - top) * (detailed ? scale : 1);
    const std::uint32_t* first =
        detailed ? &pixels.DetailAt(left * scale, top * scale) : &pixels.At(left, top);
    const int stride = detailed ? pixels.Stride * scale : pixels.Stride;
    const std::size_t pixelBytes = target.format->BytesPerPixel;
    const std::size_t rowBytes = static_cast<std::size_t>(columns) * pixelBytes;
    std::vector<std::uint8_t> converted(rowBytes * static_cast<std::size_t>(rows));
    if (SDL_ConvertPixels(columns, rows, SDL_PIXELFORMAT_RGB888, first, stride * 4,
                          target.format->format, converted.data(),
                          static_cast<int>(rowBytes)) != 0) {
        return false;
    }
    const std::size_t shownRowBytes = rowBytes * static_cast<std::size_t>(repeat);
    std::vector<std::uint8_t> widened(shownRowBytes);
    auto* destination =
        static_cast<std::uint8_t*>(target.pixels) +
        static_cast<std::size_t>(top * scale) * static_cast<std::size_t>(target.pitch) +
        static_cast<std::size_t>(left * scale) * pixelBytes;
    bool changed = false;
    for (int row = 0; row < rows; ++row) {
        const std::uint8_t* from = converted.data() + static_cast<std::size_t>(row) * rowBytes;
        WidenRow(from, columns, pixelBytes, repeat, widened.data());
        for (int copy = 0; copy < repeat; ++copy) {
            std::uint8_t* to =
                destination + static_cast<std::size_t>(row * repeat + copy) * target.pitch;
            if (std::memcmp(to, widened.data(), shownRowBytes) != 0) {
                std::memcpy(to, widened.data(), shownRowBytes);
                changed = true;
            }
        }
    }
    return changed;
}

} // namespace posix
