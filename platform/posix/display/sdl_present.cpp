#include "platform/posix/display/sdl_present.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace posix {

bool CopyChangedPixels(const gdi::Surface& pixels, SDL_Surface& target, const SDL_Rect& area) {
    const int left = std::max(area.x, 0);
    const int top = std::max(area.y, 0);
    const int right = std::min({area.x + area.w, pixels.Width, target.w});
    const int bottom = std::min({area.y + area.h, pixels.Height, target.h});
    if (right <= left || bottom <= top) {
        return false;
    }
    const std::size_t rowBytes =
        static_cast<std::size_t>(right - left) * target.format->BytesPerPixel;
    std::vector<std::uint8_t> converted(rowBytes * static_cast<std::size_t>(bottom - top));
    if (SDL_ConvertPixels(right - left, bottom - top, SDL_PIXELFORMAT_RGB888, &pixels.At(left, top),
                          pixels.Stride * 4, target.format->format, converted.data(),
                          static_cast<int>(rowBytes)) != 0) {
        return false;
    }
    auto* destination = static_cast<std::uint8_t*>(target.pixels) +
                        static_cast<std::size_t>(top) * static_cast<std::size_t>(target.pitch) +
                        static_cast<std::size_t>(left) * target.format->BytesPerPixel;
    bool changed = false;
    for (int row = 0; row < bottom - top; ++row) {
        std::uint8_t* to = destination + static_cast<std::size_t>(row) * target.pitch;
        const std::uint8_t* from = converted.data() + static_cast<std::size_t>(row) * rowBytes;
        if (std::memcmp(to, from, rowBytes) != 0) {
            std::memcpy(to, from, rowBytes);
            changed = true;
        }
    }
    return changed;
}

} // namespace posix
