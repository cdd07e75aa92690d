#pragma once

// What the layer's own modal windows (message boxes, file dialogs) share: their window class
// and their nested message loop.

#include "platform/win32.h"

#include <functional>

namespace posix {

// Registers, once, a class for a modal window of the layer's own: the given procedure, the
// button-face background, the arrow cursor and one pointer of window data.
bool EnsureModalClass(const char* name, WNDPROC procedure);

// Dispatches messages until done() answers true, waiting without polling in between, so
// timers of other windows keep firing. Answers false when the loop was cut short: by a WM_QUIT,
// which is posted again for the caller's own loop, or by the window being destroyed by someone
// else.
bool RunModalLoop(HWND window, const std::function<bool()>& done);

} // namespace posix
