#pragma once

// Plumbing shared by the standard controls: their private state kept in the first slot of the
// window's extra bytes, and the notifications they send to their parent.

#include "platform/win32.h"

#include <new>

namespace posix {

// The state a control keeps at offset 0 of its extra bytes; null before WM_NCCREATE, after
// WM_NCDESTROY, and for a window whose class has too few extra bytes.
template <class State> State* ControlState(HWND window) {
    return reinterpret_cast<State*>(GetWindowLongPtrA(window, 0));
}

// Allocates a fresh state for the window; false when memory runs out, which fails the creation.
template <class State> bool CreateControlState(HWND window) {
    State* state = new (std::nothrow) State();
    if (state == nullptr) {
        return false;
    }
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(state));
    if (ControlState<State>(window) != state) {
        delete state;
        return false;
    }
    return true;
}

template <class State> void DestroyControlState(HWND window) {
    State* state = ControlState<State>(window);
    SetWindowLongPtrA(window, 0, 0);
    delete state;
}

// Whether the window still exists with the same state: a parent may destroy a control while
// handling its notification, and the control must then touch nothing of itself.
template <class State> bool ControlAlive(HWND window, const State* state) {
    return IsWindow(window) && ControlState<State>(window) == state;
}

// Sends WM_COMMAND with MAKEWPARAM(control id, code) and the control's handle to its parent.
// Every notification of every control goes through here.
void NotifyParent(HWND control, int code);

} // namespace posix
