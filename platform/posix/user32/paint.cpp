// The update region of each window, the WM_PAINT messages made from it when nothing else is
// waiting, and the painting calls that take it.

#include "platform/posix/user32/paint.h"

#include "platform/posix/display/display.h"
#include "platform/posix/gdi32/gdi.h"
#include "platform/posix/user32/message_queue.h"
#include "platform/posix/user32/window_manager.h"
#include "platform/posix/user32/window_surface.h"

#include <optional>

namespace {

using posix::Window;
using posix::gdi::Region;

RECT WholeClient(const Window& window) {
    return {0, 0, window.Client.right - window.Client.left,
            window.Client.bottom - window.Client.top};
}

void AddUpdate(Window& window, Region area, bool erase) {
    area = area.Combined(Region(WholeClient(window)), Region::Operation::And);
    if (area.IsEmpty()) {
        return;
    }
    window.Update = window.Update.Combined(area, Region::Operation::Or);
    window.UpdateErase = window.UpdateErase || erase;
}

void RemoveUpdate(Window& window, const Region& area) {
    window.Update = window.Update.Combined(area, Region::Operation::Diff);
    if (window.Update.IsEmpty()) {
        window.UpdateErase = false;
    }
}

// Invalidates an area of a window and, unless told otherwise, of the children it covers: a
// parent without WS_CLIPCHILDREN paints over them, so they must paint again after it.
void Invalidate(HWND handle, const Region& area, bool erase, bool allChildren, bool noChildren) {
    Window* window = posix::FindWindowRecord(handle);
    AddUpdate(*window, area, erase);
    const bool children = !noChildren && (allChildren || (window->Style & WS_CLIPCHILDREN) == 0);
    if (!children) {
        return;
    }
    for (HWND child : window->Children) {
        const Window* record = posix::FindWindowRecord(child);
        if ((record->Style & WS_VISIBLE) == 0) {
            continue;
        }
        Region inChild = area;
        inChild.Offset(-record->Client.left, -record->Client.top);
        Invalidate(child, inChild, erase, allChildren, false);
    }
}

void Validate(HWND handle, const Region& area, bool allChildren) {
    Window* window = posix::FindWindowRecord(handle);
    RemoveUpdate(*window, area);
    if (!allChildren) {
        return;
    }
    for (HWND child : window->Children) {
        const Window* record = posix::FindWindowRecord(child);
        Region inChild = area;
        inChild.Offset(-record->Client.left, -record->Client.top);
        Validate(child, inChild, true);
    }
}

Region AreaOf(const Window& window, const RECT* rect) {
    return Region(rect != nullptr ? posix::ClampRect(*rect) : WholeClient(window));
}

std::optional<Region> AreaOf(const Window& window, HRGN region) {
    if (region == nullptr) {
        return Region(WholeClient(window));
    }
    return posix::gdi::RegionOf(region);
}

bool FindIn(const std::vector<HWND>& windows, const posix::MessageFilter& filter, HWND* found) {
    for (HWND handle : windows) {
        const Window* window = posix::FindWindowRecord(handle);
        if ((window->Style & WS_VISIBLE) == 0) {
            continue;
        }
        if (!window->Update.IsEmpty() && filter.Matches(handle, WM_PAINT)) {
            *found = handle;
            return true;
        }
        if (FindIn(window->Children, filter, found)) {
            return true;
        }
    }
    return false;
}

void PaintNow(HWND handle) {
    for (HWND window : posix::SubtreeOf(handle)) {
        const Window* record = posix::FindWindowRecord(window);
        if (record != nullptr && !record->Update.IsEmpty() && posix::IsReallyVisible(window)) {
            posix::SendToWindow(window, WM_PAINT, 0, 0);
            // A procedure that did not paint leaves nothing to paint again.
            posix::TakeUpdate(window, nullptr, nullptr);
        }
    }
    // The caller wants the window up to date on the screen now.
    posix::PresentPainting();
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
            AddUpdate(*record, Region(WholeClient(*record)), erase);
        }
    }
}

bool TakeUpdate(HWND handle, gdi::Region* update, bool* erase) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr || window->Update.IsEmpty()) {
        return false;
    }
    if (update != nullptr) {
        *update = window->Update;
    }
    if (erase != nullptr) {
        *erase = window->UpdateErase;
    }
    window->Update = {};
    window->UpdateErase = false;
    return true;
}

void PresentWhenPainted() {
    HWND pending = nullptr;
    if (!FindWindowToPaint({}, &pending)) {
        PresentPainting();
    }
}

} // namespace posix

BOOL WINAPI RedrawWindow(HWND handle, const RECT* rect, HRGN region, UINT flags) {
    if (handle == nullptr) {
        handle = GetDesktopWindow();
    }
    const Window* window = posix::CheckedWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    std::optional<Region> area =
        rect != nullptr || region == nullptr ? AreaOf(*window, rect) : AreaOf(*window, region);
    if (!area.has_value()) {
        return FALSE;
    }
    const bool allChildren = (flags & RDW_ALLCHILDREN) != 0;
    // A hidden window has nothing to show; it is painted whole when it appears.
    if ((flags & RDW_INVALIDATE) != 0 && posix::IsReallyVisible(handle)) {
        Invalidate(handle, *area, (flags & RDW_ERASE) != 0, allChildren,
                   (flags & RDW_NOCHILDREN) != 0);
    } else if ((flags & RDW_VALIDATE) != 0) {
        Validate(handle, *area, allChildren);
    }
    if ((flags & RDW_UPDATENOW) != 0) {
        PaintNow(handle);
    }
    return TRUE;
}

BOOL WINAPI InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    if (handle == nullptr) {
        for (HWND top : posix::TopLevelWindows()) {
            posix::InvalidateWithDescendants(top, erase != FALSE);
        }
        return TRUE;
    }
    return RedrawWindow(handle, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL WINAPI InvalidateRgn(HWND handle, HRGN region, BOOL erase) {
    if (handle == nullptr) {
        return InvalidateRect(nullptr, nullptr, erase);
    }
    return RedrawWindow(handle, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL WINAPI ValidateRect(HWND handle, const RECT* rect) {
    return handle != nullptr && RedrawWindow(handle, rect, nullptr, RDW_VALIDATE);
}

BOOL WINAPI ValidateRgn(HWND handle, HRGN region) {
    return handle != nullptr && RedrawWindow(handle, nullptr, region, RDW_VALIDATE);
}

BOOL WINAPI GetUpdateRect(HWND handle, LPRECT rect, BOOL) {
    const Window* window = posix::CheckedWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (rect != nullptr) {
        *rect = window->Update.Bounds();
    }
    return window->Update.IsEmpty() ? FALSE : TRUE;
}

int WINAPI GetUpdateRgn(HWND handle, HRGN region, BOOL) {
    const Window* window = posix::CheckedWindow(handle);
    if (window == nullptr || !posix::gdi::SetRegion(region, window->Update)) {
        return ERROR;
    }
    return window->Update.Complexity();
}

BOOL WINAPI UpdateWindow(HWND handle) {
    if (posix::CheckedWindow(handle) == nullptr) {
        return FALSE;
    }
    PaintNow(handle);
    return TRUE;
}

// Takes the update region, has the background erased when that is owed, and draws only
// where the window was invalid.
HDC WINAPI BeginPaint(HWND handle, LPPAINTSTRUCT paint) {
    if (paint == nullptr || posix::CheckedWindow(handle) == nullptr) {
        return nullptr;
    }
    Region update;
    bool erase = false;
    posix::TakeUpdate(handle, &update, &erase);
    *paint = PAINTSTRUCT{};
    paint->hdc = posix::OpenWindowDC(handle, update);
    paint->rcPaint = update.Bounds();
    paint->fErase = TRUE;
    if (erase && paint->hdc != nullptr) {
        const LRESULT erased =
            posix::SendToWindow(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0);
        paint->fErase = erased != 0 ? FALSE : TRUE;
    } else if (!erase) {
        paint->fErase = FALSE;
    }
    return paint->hdc;
}

BOOL WINAPI EndPaint(HWND handle, const PAINTSTRUCT* paint) {
    if (paint == nullptr || paint->hdc == nullptr) {
        return FALSE;
    }
    posix::CloseWindowDC(handle, paint->hdc);
    posix::PresentWhenPainted();
    return TRUE;
}
