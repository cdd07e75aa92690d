#pragma once

#include <cstdint>

#include "platform/win32.h"

// A colour as controls and tools store it: with the top bit set, the low byte names a system
// colour (resolved through GetSysColor when used); otherwise an RGB value in the platform's
// 0x00BBGGRR layout.
using TColor = std::uint32_t;

constexpr TColor SystemColorFlag = 0x80000000;
constexpr TColor ColorWindow = SystemColorFlag | COLOR_WINDOW;
constexpr TColor ColorWindowText = SystemColorFlag | COLOR_WINDOWTEXT;
constexpr TColor ColorButtonFace = SystemColorFlag | COLOR_BTNFACE;

// The RGB value a colour stands for now.
COLORREF ResolveColor(TColor color);
