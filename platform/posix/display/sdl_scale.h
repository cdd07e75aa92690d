#pragma once

// The integer factor by which the native display shows every top-level window. The layer and
// the program above it stay at 96 DPI; only the native windows, their pixels (each a block,
// but for text drawn at the finer resolution, Surface.h) and the native mouse coordinates are
// scaled.

#include "platform/posix/display/display.h"

#include <optional>

namespace posix {

// The scale an environment value names: a whole number from 1 to kLargestScale, or nothing.
std::optional<int> ScaleFromText(const char* text);

// The scale the resource database (the text of the RESOURCE_MANAGER property) asks for
// through Xft.dpi, rounded to the nearest multiple of 96 and kept within 1..kLargestScale.
std::optional<int> ScaleFromResources(const char* resources);

// KESTRIN_SCALE when it names a scale; otherwise the desktop's Xft.dpi; then GDK_SCALE;
// otherwise 1. Any argument may be null.
int ChooseScale(const char* kestrinScale, const char* resources, const char* gdkScale);

// The scale for this session: ChooseScale over the environment and the X server's resources
// (read only when KESTRIN_SCALE does not decide).
int DesktopScale();

} // namespace posix
