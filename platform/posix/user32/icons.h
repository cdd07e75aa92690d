#pragma once

// Read-back of the pictures behind icon and cursor handles, for the display.

#include "platform/win32.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace posix {

struct IconPicture {
    bool IsCursor = false;
    WORD StockId = 0; // IDI_* or IDC_* of the system's stock pictures, which the display draws
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels; // 0xAARRGGBB, rows top-down; empty for stock pictures
};

// The picture of a live icon or cursor handle; nothing for any other value.
std::optional<IconPicture> PictureOfIcon(HICON icon);

} // namespace posix
