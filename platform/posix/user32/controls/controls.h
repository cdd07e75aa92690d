#pragma once

// The window procedures of the standard controls and what their classes need. Each control
// keeps its state behind a pointer in the first window extra bytes (SetWindowLongPtrA(hwnd, 0)).

#include "platform/win32.h"

namespace posix {

LRESULT CALLBACK ButtonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListBoxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ToolTipWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Window extra bytes of every control class: room for the state pointer.
inline constexpr int ControlWindowExtra = sizeof(LONG_PTR);

// Class styles, as the system classes have them.
inline constexpr UINT ButtonClassStyle = CS_DBLCLKS | CS_VREDRAW | CS_HREDRAW | CS_PARENTDC;
inline constexpr UINT StaticClassStyle = CS_DBLCLKS | CS_PARENTDC;
inline constexpr UINT ListBoxClassStyle = CS_DBLCLKS | CS_PARENTDC;
inline constexpr UINT EditClassStyle = CS_DBLCLKS | CS_PARENTDC;
inline constexpr UINT ToolTipClassStyle = CS_DBLCLKS | CS_SAVEBITS;

} // namespace posix
