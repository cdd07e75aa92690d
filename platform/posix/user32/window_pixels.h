#pragma once

// The pixels windows show, as the display backends and the test driver read them.

#include "platform/posix/gdi32/Surface.h"
#include "platform/win32.h"

namespace posix {

// The surface of a top-level window (its client area), made or resized to its client size; null
// for a window that is not top-level or has no client area.
const gdi::Surface* SurfaceOf(HWND topLevel);

// The surface of the top-level window that holds a window, and where the window's client area
// lies on it (surface coordinates, not cut to the surface). Null for a window that does not
// exist or whose top-level window has no surface.
const gdi::Surface* ClientAreaOnSurface(HWND window, RECT* area);

} // namespace posix
