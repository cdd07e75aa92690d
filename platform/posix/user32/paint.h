#pragma once

// Update regions and the WM_PAINT messages they produce.

#include "platform/posix/gdi32/Region.h"
#include "platform/posix/user32/message_filter.h"

namespace posix {

// The first visible window, in z-order and parents before children, that needs painting and
// matches the filter.
bool FindWindowToPaint(const MessageFilter& filter, HWND* window);

// Marks the whole client area of a window (and of its visible descendants) for painting.
void InvalidateWithDescendants(HWND window, bool erase);

// Takes the update region of a window (client coordinates), leaving it valid. False when it
// was valid.
bool TakeUpdate(HWND window, gdi::Region* update, bool* erase);

// Shows what was painted, when no window is left to paint: the end of a batch of painting, so
// that a window whose children paint one after another is presented once.
void PresentWhenPainted();

} // namespace posix
