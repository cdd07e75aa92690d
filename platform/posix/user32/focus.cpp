// Activation of top-level windows, the keyboard focus, mouse capture and enabling.

#include "platform/posix/user32/focus.h"

#include "platform/posix/user32/message_queue.h"
#include "platform/posix/user32/window_manager.h"

namespace {

using posix::FindWindowRecord;
using posix::SendToWindow;

HWND active = nullptr;
HWND focus = nullptr;
HWND capture = nullptr;

WORD MinimizedFlag(HWND window) {
    const posix::Window* record = FindWindowRecord(window);
    return record != nullptr && (record->Style & WS_MINIMIZE) != 0 ? 1 : 0;
}

void TellAllTopLevel(BOOL activating) {
    const std::vector<HWND> snapshot = posix::TopLevelWindows();
    for (HWND window : snapshot) {
        SendToWindow(window, WM_ACTIVATEAPP, activating, 0);
    }
}

void Deactivate(HWND old) {
    SendToWindow(old, WM_NCACTIVATE, FALSE, 0);
    SendToWindow(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, MinimizedFlag(old)), 0);
}

// The application loses activation altogether: no window is active and none has the focus.
void DeactivateAll() {
    const HWND old = active;
    active = nullptr;
    if (old != nullptr) {
        Deactivate(old);
    }
    TellAllTopLevel(FALSE);
    if (active == nullptr && focus != nullptr) {
        SetFocus(nullptr);
    }
}

// Windows owned by the one leaving are passed over: they go or hide with it.
bool CanTakeActivation(HWND window, HWND leaving) {
    const posix::Window* record = FindWindowRecord(window);
    return record != nullptr && window != leaving && record->Owner != leaving &&
           !record->Destroying &&
           (record->Style & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE)) == WS_VISIBLE;
}

bool IsOnTop(HWND window) {
    const std::vector<HWND>& order = posix::TopLevelWindows();
    const posix::Window* record = FindWindowRecord(window);
    for (HWND other : order) {
        const posix::Window* first = FindWindowRecord(other);
        if ((first->ExStyle & WS_EX_TOPMOST) == (record->ExStyle & WS_EX_TOPMOST)) {
            return other == window;
        }
    }
    return true;
}

} // namespace

namespace posix {

void ActivateWindow(HWND window, WORD how) {
    window = RootOf(window);
    if (window == nullptr || window == active) {
        return;
    }
    const Window* record = FindWindowRecord(window);
    if ((record->Style & WS_VISIBLE) != 0 && !IsOnTop(window)) {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (FindWindowRecord(window) == nullptr) {
            return;
        }
    }
    const HWND old = active;
    active = window;
    if (old != nullptr && FindWindowRecord(old) != nullptr) {
        SendToWindow(old, WM_NCACTIVATE, FALSE, 0);
        SendToWindow(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, MinimizedFlag(old)),
                     reinterpret_cast<LPARAM>(window));
    }
    if (old == nullptr) {
        TellAllTopLevel(TRUE);
    }
    if (active != window || FindWindowRecord(window) == nullptr) {
        return;
    }
    SendToWindow(window, WM_NCACTIVATE, TRUE, 0);
    SendToWindow(window, WM_ACTIVATE, MAKEWPARAM(how, MinimizedFlag(window)),
                 reinterpret_cast<LPARAM>(old));
    // A focus left behind in the window that lost activation goes away.
    if (active == window && focus != nullptr && !IsSameOrDescendant(focus, window)) {
        SetFocus(nullptr);
    }
}

void ActivateAnotherWindow(HWND leaving) {
    if (active == nullptr || active != leaving) {
        return;
    }
    const Window* record = FindWindowRecord(leaving);
    const HWND owner = record != nullptr ? record->Owner : nullptr;
    HWND next = nullptr;
    if (owner != nullptr && CanTakeActivation(owner, leaving)) {
        next = owner;
    } else {
        for (HWND candidate : TopLevelWindows()) {
            if (CanTakeActivation(candidate, leaving)) {
                next = candidate;
                break;
            }
        }
    }
    if (next != nullptr) {
        ActivateWindow(next, WA_ACTIVE);
    } else {
        DeactivateAll();
    }
}

void MoveFocusOutOf(HWND window) {
    const Window* record = FindWindowRecord(window);
    if (record == nullptr || focus == nullptr || !IsSameOrDescendant(focus, window)) {
        return;
    }
    if (record->Parent != nullptr) {
        SetFocus(record->Parent);
    }
    if (IsSameOrDescendant(focus, window) && focus != nullptr) {
        SetFocus(nullptr);
    }
}

void ForgetFocusOf(HWND window) {
    if (focus == window) {
        focus = nullptr;
    }
    if (active == window) {
        active = nullptr;
    }
    if (capture == window) {
        capture = nullptr;
    }
}

void ResetFocus() {
    active = nullptr;
    focus = nullptr;
    capture = nullptr;
}

} // namespace posix

HWND WINAPI SetFocus(HWND window) {
    const HWND previous = focus;
    if (window == nullptr) {
        focus = nullptr;
        if (previous != nullptr && FindWindowRecord(previous) != nullptr) {
            SendToWindow(previous, WM_KILLFOCUS, 0, 0);
        }
        return previous;
    }
    if (posix::CheckedWindow(window) == nullptr) {
        return nullptr;
    }
    if (window == focus) {
        return previous;
    }
    // A window inside a minimised or disabled one cannot take the focus.
    for (const posix::Window* record = FindWindowRecord(window); record != nullptr;
         record = FindWindowRecord(record->Parent)) {
        if ((record->Style & (WS_MINIMIZE | WS_DISABLED)) != 0) {
            return nullptr;
        }
    }
    const HWND root = posix::RootOf(window);
    if (root != active) {
        posix::ActivateWindow(root, WA_ACTIVE);
        if (FindWindowRecord(window) == nullptr || posix::RootOf(window) != active) {
            return nullptr;
        }
        if (focus == window) {
            return previous;
        }
    }
    const HWND old = focus;
    focus = window;
    if (old != nullptr && FindWindowRecord(old) != nullptr) {
        SendToWindow(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    }
    if (focus == window && FindWindowRecord(window) != nullptr) {
        SendToWindow(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    }
    return previous;
}

HWND WINAPI GetFocus() {
    return focus;
}

HWND WINAPI SetActiveWindow(HWND window) {
    const HWND previous = active;
    if (window == nullptr) {
        if (active != nullptr) {
            DeactivateAll();
        }
        return previous;
    }
    if (posix::CheckedWindow(window) == nullptr) {
        return nullptr;
    }
    posix::ActivateWindow(window, WA_ACTIVE);
    return previous;
}

HWND WINAPI GetActiveWindow() {
    return active;
}

BOOL WINAPI SetForegroundWindow(HWND window) {
    if (posix::CheckedWindow(window) == nullptr) {
        return FALSE;
    }
    posix::ActivateWindow(window, WA_ACTIVE);
    return TRUE;
}

HWND WINAPI GetForegroundWindow() {
    return active;
}

HWND WINAPI SetCapture(HWND window) {
    if (posix::CheckedWindow(window) == nullptr) {
        return nullptr;
    }
    const HWND previous = capture;
    capture = window;
    if (previous != nullptr && previous != window && FindWindowRecord(previous) != nullptr) {
        SendToWindow(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    }
    return previous;
}

BOOL WINAPI ReleaseCapture() {
    const HWND previous = capture;
    capture = nullptr;
    if (previous != nullptr && FindWindowRecord(previous) != nullptr) {
        SendToWindow(previous, WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

HWND WINAPI GetCapture() {
    return capture;
}

BOOL WINAPI EnableWindow(HWND window, BOOL enable) {
    posix::Window* record = posix::CheckedWindow(window);
    if (record == nullptr) {
        return FALSE;
    }
    const bool wasDisabled = (record->Style & WS_DISABLED) != 0;
    if (enable != FALSE && wasDisabled) {
        record->Style &= ~WS_DISABLED;
        SendToWindow(window, WM_ENABLE, TRUE, 0);
    } else if (enable == FALSE && !wasDisabled) {
        SendToWindow(window, WM_CANCELMODE, 0, 0);
        record = FindWindowRecord(window);
        if (record == nullptr) {
            return FALSE;
        }
        record->Style |= WS_DISABLED;
        // A disabled window loses the focus, and so do the windows inside it.
        if (posix::IsSameOrDescendant(focus, window)) {
            SetFocus(nullptr);
        }
        SendToWindow(window, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND window) {
    const posix::Window* record = posix::CheckedWindow(window);
    return record != nullptr && (record->Style & WS_DISABLED) == 0 ? TRUE : FALSE;
}
