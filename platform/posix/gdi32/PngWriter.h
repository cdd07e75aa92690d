#pragma once

// PNG encoding of surface pixels: 8-bit RGB, one IDAT chunk compressed by zlib.

#include "platform/posix/gdi32/Surface.h"

#include <cstdint>
#include <vector>

namespace posix::gdi {

// The PNG file of an area of a surface, cut to the surface; empty when nothing is left.
std::vector<std::uint8_t> EncodePng(const Surface& surface, const RECT& area);

} // namespace posix::gdi
