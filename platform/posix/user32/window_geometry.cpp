// Geometry and show state: frames and client areas, coordinates, SetWindowPos and the
// messages it sends, ShowWindow with minimising, maximising and restoring.
//
// Index: frames; coordinates; z-order; SetWindowPos; show state.

#include "platform/posix/user32/window_geometry.h"

#include "platform/posix/api/user32_system.h"
#include "platform/posix/user32/focus.h"
#include "platform/posix/user32/message_queue.h"
#include "platform/posix/user32/paint.h"
#include "platform/posix/user32/window_manager.h"

#include <algorithm>

namespace {

using posix::Window;

// Where minimised top-level windows are kept, as the system parks them.
constexpr LONG MinimizedPosition = -32000;

struct Insets {
    LONG Left = 0;
    LONG Top = 0;
    LONG Right = 0;
    LONG Bottom = 0;
};

// The non-client frame that styles give a window, with the classic fixed metrics.
Insets FrameOf(DWORD style, DWORD exStyle, bool scrollBars) {
    int edgeX = 0;
    int edgeY = 0;
    if ((style & WS_THICKFRAME) != 0) {
        edgeX = GetSystemMetrics(SM_CXFRAME);
        edgeY = GetSystemMetrics(SM_CYFRAME);
    } else if ((style & WS_DLGFRAME) != 0 || (exStyle & WS_EX_DLGMODALFRAME) != 0) {
        edgeX = GetSystemMetrics(SM_CXDLGFRAME);
        edgeY = GetSystemMetrics(SM_CYDLGFRAME);
    } else if ((style & WS_BORDER) != 0) {
        edgeX = GetSystemMetrics(SM_CXBORDER);
        edgeY = GetSystemMetrics(SM_CYBORDER);
    }
    if ((exStyle & WS_EX_CLIENTEDGE) != 0) {
        edgeX += GetSystemMetrics(SM_CXEDGE);
        edgeY += GetSystemMetrics(SM_CYEDGE);
    }
    if ((exStyle & WS_EX_STATICEDGE) != 0) {
        edgeX += GetSystemMetrics(SM_CXBORDER);
        edgeY += GetSystemMetrics(SM_CYBORDER);
    }
    Insets insets{edgeX, edgeY, edgeX, edgeY};
    if ((style & WS_CAPTION) == WS_CAPTION) {
        insets.Top +=
            GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) != 0 ? SM_CYSMCAPTION : SM_CYCAPTION);
    }
    if (scrollBars && (style & WS_VSCROLL) != 0) {
        insets.Right += GetSystemMetrics(SM_CXVSCROLL);
    }
    if (scrollBars && (style & WS_HSCROLL) != 0) {
        insets.Bottom += GetSystemMetrics(SM_CYHSCROLL);
    }
    return insets;
}

LONG Width(const RECT& rect) {
    return rect.right - rect.left;
}

LONG Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT Offset(RECT rect, LONG dx, LONG dy) {
    return {posix::ClampToLong(std::int64_t{rect.left} + dx),
            posix::ClampToLong(std::int64_t{rect.top} + dy),
            posix::ClampToLong(std::int64_t{rect.right} + dx),
            posix::ClampToLong(std::int64_t{rect.bottom} + dy)};
}

POINT Shifted(POINT point, std::int64_t dx, std::int64_t dy) {
    return {posix::ClampToLong(point.x + dx), posix::ClampToLong(point.y + dy)};
}

} // namespace

namespace posix {

// ---- Frames ----

RECT ClientRectFor(const RECT& windowRect, DWORD style, DWORD exStyle) {
    if ((style & WS_MINIMIZE) != 0) {
        return {windowRect.left, windowRect.top, windowRect.left, windowRect.top};
    }
    const Insets insets = FrameOf(style, exStyle, true);
    RECT client{windowRect.left + insets.Left, windowRect.top + insets.Top,
                windowRect.right - insets.Right, windowRect.bottom - insets.Bottom};
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    return client;
}

POINT BorderOf(DWORD style, DWORD exStyle) {
    const Insets insets = FrameOf(style, exStyle, false);
    return {insets.Left, insets.Bottom};
}

// ---- Coordinates ----

POINT ClientOriginOnScreen(const Window& window) {
    std::int64_t x = window.Client.left;
    std::int64_t y = window.Client.top;
    for (const Window* parent = FindWindowRecord(window.Parent); parent != nullptr;
         parent = FindWindowRecord(parent->Parent)) {
        x += parent->Client.left;
        y += parent->Client.top;
    }
    return {ClampToLong(x), ClampToLong(y)};
}

RECT ScreenRectOf(const Window& window) {
    const Window* parent = FindWindowRecord(window.Parent);
    if (parent == nullptr) {
        return window.Rect;
    }
    const POINT origin = ClientOriginOnScreen(*parent);
    return Offset(window.Rect, origin.x, origin.y);
}

MINMAXINFO MinMaxInfoOf(HWND handle) {
    const Window* window = FindWindowRecord(handle);
    MINMAXINFO info{};
    if (window == nullptr) {
        return info;
    }
    const Insets frame = FrameOf(window->Style, window->ExStyle, false);
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (const Window* parent = FindWindowRecord(window->Parent)) {
        area = {0, 0, Width(parent->Client), Height(parent->Client)};
    }
    // A maximised window hides its sizing border beyond the edges of the area.
    info.ptMaxSize = {Width(area) + 2 * frame.Left, Height(area) + 2 * frame.Bottom};
    info.ptMaxPosition = {-frame.Left, -frame.Bottom};
    info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendToWindow(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

void SendSizeAndMove(HWND handle) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) {
        return;
    }
    window->NeedSizeMessages = false;
    WPARAM state = SIZE_RESTORED;
    if ((window->Style & WS_MINIMIZE) != 0) {
        state = SIZE_MINIMIZED;
    } else if ((window->Style & WS_MAXIMIZE) != 0) {
        state = SIZE_MAXIMIZED;
    }
    SendToWindow(handle, WM_SIZE, state,
                 MAKELPARAM(static_cast<WORD>(Width(window->Client)),
                            static_cast<WORD>(Height(window->Client))));
    window = FindWindowRecord(handle);
    if (window == nullptr) {
        return;
    }
    SendToWindow(
        handle, WM_MOVE, 0,
        MAKELPARAM(static_cast<WORD>(window->Client.left), static_cast<WORD>(window->Client.top)));
}

} // namespace posix

BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect) {
    const Window* window = posix::CheckedWindow(handle);
    if (window == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = posix::ScreenRectOf(*window);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
    const Window* window = posix::CheckedWindow(handle);
    if (window == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = {0, 0, Width(window->Client), Height(window->Client)};
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND handle, LPPOINT point) {
    const Window* window = posix::CheckedWindow(handle);
    if (window == nullptr || point == nullptr) {
        return FALSE;
    }
    const POINT origin = posix::ClientOriginOnScreen(*window);
    *point = Shifted(*point, origin.x, origin.y);
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND handle, LPPOINT point) {
    const Window* window = posix::CheckedWindow(handle);
    if (window == nullptr || point == nullptr) {
        return FALSE;
    }
    const POINT origin = posix::ClientOriginOnScreen(*window);
    *point = Shifted(*point, -std::int64_t{origin.x}, -std::int64_t{origin.y});
    return TRUE;
}

int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    POINT fromOrigin{0, 0};
    POINT toOrigin{0, 0};
    if (from != nullptr) {
        const Window* window = posix::CheckedWindow(from);
        if (window == nullptr) {
            return 0;
        }
        fromOrigin = posix::ClientOriginOnScreen(*window);
    }
    if (to != nullptr) {
        const Window* window = posix::CheckedWindow(to);
        if (window == nullptr) {
            return 0;
        }
        toOrigin = posix::ClientOriginOnScreen(*window);
    }
    const std::int64_t dx = std::int64_t{fromOrigin.x} - toOrigin.x;
    const std::int64_t dy = std::int64_t{fromOrigin.y} - toOrigin.y;
    for (UINT i = 0; points != nullptr && i < count; ++i) {
        points[i] = Shifted(points[i], dx, dy);
    }
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
    if (rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const Insets insets = FrameOf(style, exStyle, false);
    const LONG menuHeight = menu != FALSE ? GetSystemMetrics(SM_CYMENU) : 0;
    rect->left = posix::ClampToLong(std::int64_t{rect->left} - insets.Left);
    rect->top = posix::ClampToLong(std::int64_t{rect->top} - insets.Top - menuHeight);
    rect->right = posix::ClampToLong(std::int64_t{rect->right} + insets.Right);
    rect->bottom = posix::ClampToLong(std::int64_t{rect->bottom} + insets.Bottom);
    return TRUE;
}

// ---- Z-order ----

namespace {

bool IsTopmost(HWND handle) {
    return (posix::FindWindowRecord(handle)->ExStyle & WS_EX_TOPMOST) != 0;
}

void Reorder(Window& window, HWND after) {
    std::vector<HWND>& siblings = posix::SiblingsOf(window);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window.Handle), siblings.end());
    const bool topLevel = posix::IsTopLevel(window);
    if (topLevel && after == HWND_TOPMOST) {
        window.ExStyle |= WS_EX_TOPMOST;
    } else if (topLevel && (after == HWND_NOTOPMOST || after == HWND_BOTTOM)) {
        window.ExStyle &= ~WS_EX_TOPMOST;
    }
    auto firstPlain = siblings.begin();
    if (topLevel) {
        firstPlain = std::find_if(siblings.begin(), siblings.end(),
                                  [](HWND other) { return !IsTopmost(other); });
    }
    auto position = siblings.end();
    if (after == HWND_BOTTOM) {
        position = siblings.end();
    } else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        position =
            (window.ExStyle & WS_EX_TOPMOST) != 0 || !topLevel ? siblings.begin() : firstPlain;
    } else {
        const auto found = std::find(siblings.begin(), siblings.end(), after);
        position = found == siblings.end() ? siblings.begin() : found + 1;
        if (topLevel && (window.ExStyle & WS_EX_TOPMOST) == 0 && position < firstPlain) {
            position = firstPlain;
        }
    }
    siblings.insert(position, window.Handle);
}

// The part of the parent a visible child covered, in the parent's client coordinates.
void InvalidateUncovered(const Window& window, const RECT& covered) {
    const Window* parent = posix::FindWindowRecord(window.Parent);
    if (parent == nullptr || (window.Style & WS_VISIBLE) == 0) {
        return;
    }
    InvalidateRect(window.Parent, &covered, TRUE);
}

constexpr UINT KnownFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE |
                            SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_NOCOPYBITS |
                            SWP_NOOWNERZORDER | SWP_NOSENDCHANGING | SWP_DEFERERASE |
                            SWP_ASYNCWINDOWPOS;

// Drops what would change nothing, as the system does before telling the window.
UINT WithoutNoChanges(const Window& window, UINT flags, const RECT& wanted) {
    if ((window.Style & WS_VISIBLE) != 0) {
        flags &= ~SWP_SHOWWINDOW;
    } else {
        flags &= ~SWP_HIDEWINDOW;
    }
    if (Width(wanted) == Width(window.Rect) && Height(wanted) == Height(window.Rect)) {
        flags |= SWP_NOSIZE;
    }
    if (wanted.left == window.Rect.left && wanted.top == window.Rect.top) {
        flags |= SWP_NOMOVE;
    }
    return flags;
}

// WM_WINDOWPOSCHANGED tells of a change of size, position, z-order, visibility or frame; a call
// that asks for none sends only WM_WINDOWPOSCHANGING.
bool ChangesNothing(UINT flags) {
    constexpr UINT kept = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
    constexpr UINT changes = SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED;
    return (flags & kept) == kept && (flags & changes) == 0;
}

RECT WantedRect(const Window& window, const WINDOWPOS& pos) {
    LONG left = window.Rect.left;
    LONG top = window.Rect.top;
    LONG width = Width(window.Rect);
    LONG height = Height(window.Rect);
    if ((pos.flags & SWP_NOMOVE) == 0) {
        left = posix::ClampCoordinate(pos.x);
        top = posix::ClampCoordinate(pos.y);
    }
    if ((pos.flags & SWP_NOSIZE) == 0) {
        width = posix::ClampSize(pos.cx);
        height = posix::ClampSize(pos.cy);
    }
    return {left, top, left + width, top + height};
}

} // namespace

// ---- SetWindowPos ----

BOOL WINAPI SetWindowPos(HWND handle, HWND after, int x, int y, int width, int height, UINT flags) {
    Window* window = posix::CheckedWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (handle == posix::DesktopWindow().Handle) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    flags &= KnownFlags;
    if ((flags & SWP_SHOWWINDOW) != 0) {
        flags &= ~SWP_HIDEWINDOW;
    }
    const bool topLevel = posix::IsTopLevel(*window);
    if (after == handle) {
        flags |= SWP_NOZORDER;
    }
    if (!topLevel && (after == HWND_TOPMOST || after == HWND_NOTOPMOST)) {
        after = HWND_TOP;
    }
    WINDOWPOS pos{handle, after, x, y, std::max(width, 0), std::max(height, 0), flags};
    pos.flags = WithoutNoChanges(*window, pos.flags, WantedRect(*window, pos));
    if ((pos.flags & SWP_NOMOVE) != 0) {
        pos.x = window->Rect.left;
        pos.y = window->Rect.top;
    }
    if ((pos.flags & SWP_NOSIZE) != 0) {
        pos.cx = Width(window->Rect);
        pos.cy = Height(window->Rect);
    }
    if ((pos.flags & SWP_NOSENDCHANGING) == 0) {
        posix::SendToWindow(handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        window = posix::FindWindowRecord(handle);
        if (window == nullptr) {
            return FALSE;
        }
    }
    const RECT oldRect = window->Rect;
    const RECT oldClient = window->Client;
    const RECT newRect = WantedRect(*window, pos);
    pos.flags = WithoutNoChanges(*window, pos.flags, newRect);

    RECT newClient = Offset(oldClient, newRect.left - oldRect.left, newRect.top - oldRect.top);
    if ((pos.flags & SWP_NOSIZE) == 0 || (pos.flags & SWP_FRAMECHANGED) != 0) {
        NCCALCSIZE_PARAMS params{{newRect, oldRect, oldClient}, &pos};
        posix::SendToWindow(handle, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
        window = posix::FindWindowRecord(handle);
        if (window == nullptr) {
            return FALSE;
        }
        newClient = posix::ClampRect(params.rgrc[0]);
    }

    const bool showing = (pos.flags & SWP_SHOWWINDOW) != 0;
    const bool hiding = (pos.flags & SWP_HIDEWINDOW) != 0;
    if (!SameRect(oldRect, newRect) || hiding) {
        InvalidateUncovered(*window, oldRect);
    }
    window->Rect = newRect;
    window->Client = newClient;
    if ((window->Style & (WS_MINIMIZE | WS_MAXIMIZE)) == 0) {
        window->NormalRect = newRect;
    }
    if ((pos.flags & SWP_NOZORDER) == 0) {
        Reorder(*window, after);
    }
    if (showing) {
        window->Style |= WS_VISIBLE;
    } else if (hiding) {
        window->Style &= ~WS_VISIBLE;
    }
    const bool clientResized =
        Width(newClient) != Width(oldClient) || Height(newClient) != Height(oldClient);
    if (!clientResized) {
        pos.flags |= posix::SWP_NOCLIENTSIZE;
    }
    if (newClient.left != oldClient.left || newClient.top != oldClient.top) {
        pos.flags &= ~posix::SWP_NOCLIENTMOVE;
    } else {
        pos.flags |= posix::SWP_NOCLIENTMOVE;
    }
    if (showing) {
        posix::InvalidateWithDescendants(handle, true);
    } else if (clientResized || (pos.flags & SWP_FRAMECHANGED) != 0 ||
               (!topLevel && (pos.flags & posix::SWP_NOCLIENTMOVE) == 0)) {
        // A child that moved shows on its parent's pixels where it now is: it paints there.
        InvalidateRect(handle, nullptr, TRUE);
    }

    if (topLevel && !hiding && (pos.flags & SWP_NOACTIVATE) == 0 &&
        (window->Style & WS_VISIBLE) != 0) {
        posix::ActivateWindow(handle, WA_ACTIVE);
        if (posix::FindWindowRecord(handle) == nullptr) {
            return FALSE;
        }
    }
    if (ChangesNothing(pos.flags)) {
        return TRUE;
    }
    pos.x = newRect.left;
    pos.y = newRect.top;
    pos.cx = Width(newRect);
    pos.cy = Height(newRect);
    posix::SendToWindow(handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    if (hiding) {
        posix::MoveFocusOutOf(handle);
        if (topLevel) {
            posix::ActivateAnotherWindow(handle);
        }
    }
    posix::TellDisplay(handle);
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint) {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (repaint == FALSE) {
        flags |= SWP_NOREDRAW;
    }
    return SetWindowPos(handle, nullptr, x, y, width, height, flags);
}

// ---- Show state ----

namespace {

enum class Placement { Keep, Minimize, Maximize, Restore };

struct ShowCommand {
    bool Show;
    bool Activate;
    Placement Place;
};

bool CommandFor(int command, ShowCommand* result) {
    switch (command) {
    case SW_HIDE:
        *result = {false, false, Placement::Keep};
        return true;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        *result = {true, true, Placement::Restore};
        return true;
    case SW_SHOWMINIMIZED:
        *result = {true, true, Placement::Minimize};
        return true;
    case SW_SHOWMAXIMIZED:
        *result = {true, true, Placement::Maximize};
        return true;
    case SW_SHOWNOACTIVATE:
        *result = {true, false, Placement::Restore};
        return true;
    case SW_SHOW:
        *result = {true, true, Placement::Keep};
        return true;
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        *result = {true, false, Placement::Minimize};
        return true;
    case SW_SHOWNA:
        *result = {true, false, Placement::Keep};
        return true;
    default:
        return false;
    }
}

std::vector<HWND> OwnedBy(HWND owner) {
    std::vector<HWND> owned;
    for (HWND other : posix::TopLevelWindows()) {
        if (posix::FindWindowRecord(other)->Owner == owner) {
            owned.push_back(other);
        }
    }
    return owned;
}

// Owned windows disappear while their owner is minimised and come back when it is restored;
// each is told with WM_SHOWWINDOW and a reason in lParam.
void HideOwnedWindows(HWND owner) {
    for (HWND owned : OwnedBy(owner)) {
        const Window* window = posix::FindWindowRecord(owned);
        if (window == nullptr || (window->Style & WS_VISIBLE) == 0) {
            continue;
        }
        posix::SendToWindow(owned, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
        Window* after = posix::FindWindowRecord(owned);
        if (after != nullptr) {
            after->HiddenByOwner = true;
        }
    }
}

void ShowOwnedWindows(HWND owner) {
    for (HWND owned : OwnedBy(owner)) {
        Window* window = posix::FindWindowRecord(owned);
        if (window == nullptr || !window->HiddenByOwner) {
            continue;
        }
        window->HiddenByOwner = false;
        posix::SendToWindow(owned, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
    }
}

RECT MinimizedRect(const Window& window) {
    const LONG left = posix::IsTopLevel(window) ? MinimizedPosition : 0;
    const LONG top = posix::IsTopLevel(window) ? MinimizedPosition : 0;
    return {left, top, left + GetSystemMetrics(SM_CXMINIMIZED),
            top + GetSystemMetrics(SM_CYMINIMIZED)};
}

RECT MaximizedRect(HWND handle) {
    const MINMAXINFO info = posix::MinMaxInfoOf(handle);
    return {info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxPosition.x + info.ptMaxSize.x,
            info.ptMaxPosition.y + info.ptMaxSize.y};
}

// Changes the minimised and maximised state bits and answers the rectangle of the new state;
// false when the window is already in it.
bool ChangePlacement(HWND handle, Placement place, RECT* rect) {
    Window* window = posix::FindWindowRecord(handle);
    const bool minimized = (window->Style & WS_MINIMIZE) != 0;
    const bool maximized = (window->Style & WS_MAXIMIZE) != 0;
    switch (place) {
    case Placement::Keep:
        return false;
    case Placement::Minimize:
        if (minimized) {
            return false;
        }
        HideOwnedWindows(handle);
        window = posix::FindWindowRecord(handle);
        if (window == nullptr) {
            return false;
        }
        window->RestoreMaximized = maximized;
        window->Style = (window->Style | WS_MINIMIZE) & ~WS_MAXIMIZE;
        *rect = MinimizedRect(*window);
        return true;
    case Placement::Maximize:
        if (maximized) {
            return false;
        }
        *rect = MaximizedRect(handle);
        window = posix::FindWindowRecord(handle);
        if (window == nullptr) {
            return false;
        }
        window->Style = (window->Style | WS_MAXIMIZE) & ~WS_MINIMIZE;
        return true;
    case Placement::Restore:
        if (minimized && window->RestoreMaximized) {
            window->Style &= ~WS_MINIMIZE;
            *rect = MaximizedRect(handle);
            window = posix::FindWindowRecord(handle);
            if (window == nullptr) {
                return false;
            }
            window->Style |= WS_MAXIMIZE;
            return true;
        }
        if (!minimized && !maximized) {
            return false;
        }
        window->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        *rect = window->NormalRect;
        return true;
    }
    return false;
}

} // namespace

BOOL WINAPI ShowWindow(HWND handle, int command) {
    Window* window = posix::CheckedWindow(handle);
    ShowCommand wanted{};
    if (window == nullptr) {
        return FALSE;
    }
    if (!CommandFor(command, &wanted)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const bool wasVisible = (window->Style & WS_VISIBLE) != 0;
    const bool wasMinimized = (window->Style & WS_MINIMIZE) != 0;
    const bool topLevel = posix::IsTopLevel(*window);
    const BOOL answer = wasVisible ? TRUE : FALSE;
    if (!wanted.Show && !wasVisible) {
        return answer;
    }
    if (wanted.Show != wasVisible) {
        posix::SendToWindow(handle, WM_SHOWWINDOW, wanted.Show ? TRUE : FALSE, 0);
        if (posix::FindWindowRecord(handle) == nullptr) {
            return answer;
        }
    }
    const bool activate = wanted.Activate && topLevel;
    RECT rect{};
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (ChangePlacement(handle, wanted.Place, &rect)) {
        flags = SWP_FRAMECHANGED | SWP_NOCOPYBITS;
    } else {
        flags |= SWP_NOSIZE | SWP_NOMOVE;
    }
    if (posix::FindWindowRecord(handle) == nullptr) {
        return answer;
    }
    if (activate) {
        flags &= ~(SWP_NOACTIVATE | SWP_NOZORDER);
    } else {
        flags |= SWP_NOACTIVATE;
    }
    flags |= wanted.Show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    SetWindowPos(handle, HWND_TOP, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, flags);
    window = posix::FindWindowRecord(handle);
    if (window == nullptr) {
        return answer;
    }
    const bool nowMinimized = (window->Style & WS_MINIMIZE) != 0;
    if (topLevel && nowMinimized && !wasMinimized && !wanted.Activate) {
        posix::ActivateAnotherWindow(handle);
    }
    if (wasMinimized && !nowMinimized) {
        ShowOwnedWindows(handle);
    }
    window = posix::FindWindowRecord(handle);
    if (window != nullptr && wanted.Show && window->NeedSizeMessages) {
        posix::SendSizeAndMove(handle);
    }
    return answer;
}

BOOL WINAPI IsWindowVisible(HWND handle) {
    return posix::IsReallyVisible(handle) ? TRUE : FALSE;
}

BOOL WINAPI IsIconic(HWND handle) {
    const Window* window = posix::CheckedWindow(handle);
    return window != nullptr && (window->Style & WS_MINIMIZE) != 0 ? TRUE : FALSE;
}

BOOL WINAPI IsZoomed(HWND handle) {
    const Window* window = posix::CheckedWindow(handle);
    return window != nullptr && (window->Style & WS_MAXIMIZE) != 0 ? TRUE : FALSE;
}
