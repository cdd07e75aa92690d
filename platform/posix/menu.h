#pragma once

// The menus the layer keeps for its windows.

#include "platform/win32.h"

namespace posix {

// Frees the menus that belong to a window (its copy of the system menu); their handles become
// invalid. The window manager calls it while destroying the window.
void ReleaseWindowMenus(HWND window);

} // namespace posix
