// The update rectangle of each window (the bounding rectangle of everything invalidated),
// and the WM_PAINT messages made from it when nothing else is waiting.

#include "platform/posix/paint.h"

#include "platform/posix/message_queue.h"
#include "platform/posix/window_manager.h"

#include <algorithm>

namespace {

using posix::Window;

bool IsEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

RECT Intersection(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

RECT Union(const RECT& a, const RECT& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

RECT WholeClient(const Window& window) {
    return {0, 0, window.Client.right - window.Client.left,
            window.Client.bottom - window.Client.top};
}

void AddUpdate(Window& window, const RECT& area, bool erase) {
    const RECT clipped = Intersection(area, WholeClient(window));
    if (IsEmpty(clipped)) {
        return;
    }
    window.Update = window.HasUpdate ? Union(window.Update, clipped) : clipped;
    window.HasUpdate = true;
    window.UpdateErase = window.UpdateErase || erase;
}

bool FindIn(const std::vector<HWND>& windows, const posix::MessageFilter& filter, HWND* found) {
    for (HWND handle : windows) {
        const Window* window = posix::FindWindowRecord(handle);
        if ((window->Style & WS_VISIBLE) == 0) {
            continue;
        }
        if (window->HasUpdate && filter.Matches(handle, WM_PAINT)) {
            *found = handle;
            return true;
        }
        if (FindIn(window->Children, filter, found)) {
            return true;
        }
    }
    return false;
}

} // namespace

namespace posix {

bool FindWindowToPaint(const MessageFilter& filter, HWND* window) {
    return FindIn(TopLevelWindows(), filter, window);
}

void InvalidateWithDescendants(HWND handle, bool erase) {
    for (HWND window : SubtreeOf(handle)) {
        if (IsReallyVisible(window)) {
            Window* record = FindWindowRecord(window);
            AddUpdate(*record, WholeClient(*record), erase);
        }
    }
}

bool TakeUpdate(HWND handle, RECT* update, bool* erase) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr || !window->HasUpdate) {
        return false;
    }
    if (update != nullptr) {
        *update = window->Update;
    }
    if (erase != nullptr) {
        *erase = window->UpdateErase;
    }
    window->HasUpdate = false;
    window->UpdateErase = false;
    window->Update = {};
    return true;
}

} // namespace posix

BOOL WINAPI InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    if (handle == nullptr) {
        for (HWND top : posix::TopLevelWindows()) {
            posix::InvalidateWithDescendants(top, erase != FALSE);
        }
        return TRUE;
    }
    Window* window = posix::CheckedWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    // A hidden window has nothing to show; it is painted whole when it appears.
    if (!posix::IsReallyVisible(handle)) {
        return TRUE;
    }
    const RECT area = rect != nullptr ? posix::ClampRect(*rect) : WholeClient(*window);
    AddUpdate(*window, area, erase != FALSE);
    // Without WS_CLIPCHILDREN the parent's painting covers its children, so they repaint too.
    if ((window->Style & WS_CLIPCHILDREN) == 0) {
        for (HWND child : window->Children) {
            Window* record = posix::FindWindowRecord(child);
            if ((record->Style & WS_VISIBLE) == 0) {
                continue;
            }
            const RECT inChild = {area.left - (record->Client.left - window->Client.left),
                                  area.top - (record->Client.top - window->Client.top),
                                  area.right - (record->Client.left - window->Client.left),
                                  area.bottom - (record->Client.top - window->Client.top)};
            AddUpdate(*record, inChild, erase != FALSE);
        }
    }
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND handle, const RECT* rect) {
    Window* window = posix::CheckedWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (!window->HasUpdate) {
        return TRUE;
    }
    // The update stays one rectangle: it goes when the validated area covers it.
    const RECT area = rect != nullptr ? *rect : WholeClient(*window);
    const RECT covered = Intersection(area, window->Update);
    if (covered.left == window->Update.left && covered.top == window->Update.top &&
        covered.right == window->Update.right && covered.bottom == window->Update.bottom) {
        posix::TakeUpdate(handle, nullptr, nullptr);
    }
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND handle, LPRECT rect, BOOL) {
    const Window* window = posix::CheckedWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (rect != nullptr) {
        *rect = window->HasUpdate ? window->Update : RECT{};
    }
    return window->HasUpdate ? TRUE : FALSE;
}

BOOL WINAPI UpdateWindow(HWND handle) {
    if (posix::CheckedWindow(handle) == nullptr) {
        return FALSE;
    }
    for (HWND window : posix::SubtreeOf(handle)) {
        const Window* record = posix::FindWindowRecord(window);
        if (record != nullptr && record->HasUpdate && posix::IsReallyVisible(window)) {
            posix::SendToWindow(window, WM_PAINT, 0, 0);
            // A procedure that did not paint leaves nothing to paint again.
            posix::TakeUpdate(window, nullptr, nullptr);
        }
    }
    return TRUE;
}
