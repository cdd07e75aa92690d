#pragma once

// Positions, sizes and show states of windows, as the other modules of the layer reach them.

#include "platform/win32.h"

namespace posix {

// The window manager's own WINDOWPOS flags in WM_WINDOWPOSCHANGED: the client area kept its
// size, or its place. DefWindowProcA sends WM_SIZE and WM_MOVE only for what really changed.
inline constexpr UINT SWP_NOCLIENTSIZE = 0x0800;
inline constexpr UINT SWP_NOCLIENTMOVE = 0x1000;

// The limits of a window's size: the system's defaults, then the window's WM_GETMINMAXINFO.
MINMAXINFO MinMaxInfoOf(HWND window);

// The width and height of the border around a window of these styles, without caption and
// scroll bars.
POINT BorderOf(DWORD style, DWORD exStyle);

// WM_SIZE and WM_MOVE for the window's present client rectangle and state.
void SendSizeAndMove(HWND window);

} // namespace posix
