#pragma once

// The pixels of each top-level window (its client area, window_pixels.h) and the device
// contexts that draw on them for the window itself and its descendants.

#include "platform/posix/gdi32/Region.h"
#include "platform/posix/user32/window_pixels.h"
#include "platform/win32.h"

#include <optional>

namespace posix {

// What of a window's client area shows on its top-level surface, in surface coordinates:
// cut to every ancestor's client area, without the siblings above it when it has
// WS_CLIPSIBLINGS, and without its own children when it has WS_CLIPCHILDREN. Empty for a
// window that does not show.
gdi::Region VisiblePart(HWND window);

// Where a window's client point (0, 0) lies on its top-level surface.
POINT SurfaceOrigin(HWND window);

// A context drawing on the window's visible part, further limited to 'limit' (client
// coordinates) when given. A window without pixels (no size), or the null window, gets a
// context that draws nothing but measures text.
HDC OpenWindowDC(HWND window, const std::optional<gdi::Region>& limit);
// Deletes a context made by OpenWindowDC and tells the display what may have changed.
// False for a context that is not the window's.
bool CloseWindowDC(HWND window, HDC dc);

// Drops the surface of a destroyed window (contexts still open keep the pixels alive).
void ForgetSurfaceOf(HWND window);

} // namespace posix
