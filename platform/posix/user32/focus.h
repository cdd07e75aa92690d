#pragma once

// Activation, keyboard focus and mouse capture, as the other modules of the layer reach them.

#include "platform/win32.h"

namespace posix {

// Makes a top-level window the active (and foreground) one; how is WA_ACTIVE or
// WA_CLICKACTIVE.
void ActivateWindow(HWND window, WORD how);

// The window stops being able to be active (hidden, minimised, destroyed): when it or a
// window it contains is active, another top-level window is activated, or none.
void ActivateAnotherWindow(HWND leaving);

// The window was hidden or is being destroyed: a focus inside it moves to its parent (or goes
// away for a top-level window).
void MoveFocusOutOf(HWND window);

// Clears every reference to a window that no longer exists.
void ForgetFocusOf(HWND window);

void ResetFocus();

} // namespace posix
