// Default processing (DefWindowProcA) of the messages windows leave to the system, and the
// modal loop that moves a window by its caption.
//
// Index: text; frame hit testing; system commands and the move loop; DefWindowProcA.

#include "platform/posix/api/user32_system.h"
#include "platform/posix/user32/control_colors.h"
#include "platform/posix/user32/message_queue.h"
#include "platform/posix/user32/paint.h"
#include "platform/posix/user32/window_geometry.h"
#include "platform/posix/user32/window_manager.h"

#include <algorithm>
#include <cstring>

namespace {

using posix::SendToWindow;
using posix::Window;

// Bit of a key message's high lParam word: Alt was down.
constexpr WORD KeyAltDown = 0x2000;

// ---- Text ----

LRESULT CopyText(const Window& window, WPARAM size, LPARAM buffer) {
    char* destination = reinterpret_cast<char*>(buffer);
    if (size == 0 || destination == nullptr) {
        return 0;
    }
    const std::size_t copied = std::min<std::size_t>(window.Text.size(), size - 1);
    std::memcpy(destination, window.Text.data(), copied);
    destination[copied] = '\0';
    return static_cast<LRESULT>(copied);
}

// ---- Frame hit testing ----

bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

LRESULT SizingEdge(const RECT& rect, POINT point, POINT border) {
    const int corner = GetSystemMetrics(SM_CXSIZE);
    const bool left = point.x < rect.left + border.x;
    const bool right = point.x >= rect.right - border.x;
    const bool top = point.y < rect.top + border.y;
    const bool bottom = point.y >= rect.bottom - border.y;
    if (!left && !right && !top && !bottom) {
        return HTNOWHERE;
    }
    const bool nearLeft = point.x < rect.left + corner;
    const bool nearRight = point.x >= rect.right - corner;
    const bool nearTop = point.y < rect.top + corner;
    const bool nearBottom = point.y >= rect.bottom - corner;
    if ((top && nearLeft) || (left && nearTop)) {
        return HTTOPLEFT;
    }
    if ((top && nearRight) || (right && nearTop)) {
        return HTTOPRIGHT;
    }
    if ((bottom && nearLeft) || (left && nearBottom)) {
        return HTBOTTOMLEFT;
    }
    if ((bottom && nearRight) || (right && nearBottom)) {
        return HTBOTTOMRIGHT;
    }
    return left ? HTLEFT : right ? HTRIGHT : top ? HTTOP : HTBOTTOM;
}

LRESULT CaptionPart(const Window& window, const RECT& rect, POINT point, POINT border) {
    const bool tool = (window.ExStyle & WS_EX_TOOLWINDOW) != 0;
    const int button = GetSystemMetrics(tool ? SM_CXSMSIZE : SM_CXSIZE);
    LONG right = rect.right - border.x;
    if ((window.Style & WS_SYSMENU) != 0) {
        if (point.x >= right - button) {
            return HTCLOSE;
        }
        right -= button;
        if (!tool && (window.Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0) {
            if (point.x >= right - button) {
                return HTMAXBUTTON;
            }
            if (point.x >= right - 2 * button) {
                return HTMINBUTTON;
            }
        }
        if (!tool && point.x < rect.left + border.x + button) {
            return HTSYSMENU;
        }
    }
    return HTCAPTION;
}

LRESULT HitTestFrame(const Window& window, POINT point) {
    const RECT rect = posix::ScreenRectOf(window);
    if (!Contains(rect, point)) {
        return HTNOWHERE;
    }
    if ((window.Style & WS_MINIMIZE) != 0) {
        return HTCAPTION;
    }
    const POINT origin = posix::ClientOriginOnScreen(window);
    const RECT client{origin.x, origin.y, origin.x + (window.Client.right - window.Client.left),
                      origin.y + (window.Client.bottom - window.Client.top)};
    if (Contains(client, point)) {
        return HTCLIENT;
    }
    const POINT border = posix::BorderOf(window.Style, window.ExStyle);
    if ((window.Style & WS_THICKFRAME) != 0) {
        const LRESULT edge = SizingEdge(rect, point, border);
        if (edge != HTNOWHERE) {
            return edge;
        }
    }
    if ((window.Style & WS_CAPTION) == WS_CAPTION && point.y >= rect.top + border.y &&
        point.y < client.top) {
        return CaptionPart(window, rect, point, border);
    }
    if ((window.Style & WS_VSCROLL) != 0 && point.x >= client.right &&
        point.x < client.right + GetSystemMetrics(SM_CXVSCROLL) && point.y >= client.top &&
        point.y < client.bottom) {
        return HTVSCROLL;
    }
    if ((window.Style & WS_HSCROLL) != 0 && point.y >= client.bottom &&
        point.y < client.bottom + GetSystemMetrics(SM_CYHSCROLL) && point.x >= client.left &&
        point.x < client.right) {
        return HTHSCROLL;
    }
    return HTBORDER;
}

// ---- System commands and the move loop ----

bool IsMouseMessage(UINT message) {
    return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
}

// Follows the mouse until the left button is released (Escape puts the window back, Enter
// leaves it where it is), dispatching every other message meanwhile.
void MoveWithMouse(HWND handle) {
    const Window* window = posix::FindWindowRecord(handle);
    if (window == nullptr || (window->Style & (WS_MINIMIZE | WS_MAXIMIZE)) != 0 ||
        (GetKeyState(VK_LBUTTON) & 0x8000) == 0) {
        return;
    }
    const DWORD position = GetMessagePos();
    const POINT start{GET_X_LPARAM(static_cast<LPARAM>(position)),
                      GET_Y_LPARAM(static_cast<LPARAM>(position))};
    const RECT original = window->Rect;
    const RECT originalOnScreen = posix::ScreenRectOf(*window);
    SendToWindow(handle, WM_ENTERSIZEMOVE, 0, 0);
    SetCapture(handle);
    bool cancelled = false;
    for (;;) {
        MSG msg{};
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) == FALSE) {
            if (!posix::WaitForMessages(true)) {
                break;
            }
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (GetCapture() != handle || posix::FindWindowRecord(handle) == nullptr) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            RECT moved = originalOnScreen;
            moved.left += msg.pt.x - start.x;
            moved.right += msg.pt.x - start.x;
            moved.top += msg.pt.y - start.y;
            moved.bottom += msg.pt.y - start.y;
            SendToWindow(handle, WM_MOVING, 0, reinterpret_cast<LPARAM>(&moved));
            const std::int64_t dx = std::int64_t{moved.left} - originalOnScreen.left;
            const std::int64_t dy = std::int64_t{moved.top} - originalOnScreen.top;
            SetWindowPos(handle, nullptr, posix::ClampToLong(original.left + dx),
                         posix::ClampToLong(original.top + dy), 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (msg.message == WM_LBUTTONUP) {
                break;
            }
            continue;
        }
        if (msg.message == WM_KEYDOWN && (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN)) {
            cancelled = msg.wParam == VK_ESCAPE;
            break;
        }
        if (!IsMouseMessage(msg.message)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (cancelled) {
        SetWindowPos(handle, nullptr, original.left, original.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (GetCapture() == handle) {
        ReleaseCapture();
    }
    SendToWindow(handle, WM_EXITSIZEMOVE, 0, 0);
}

LRESULT SystemCommand(HWND handle, WPARAM command) {
    switch (command & 0xFFF0) {
    case SC_CLOSE:
        SendToWindow(handle, WM_CLOSE, 0, 0);
        return 0;
    case SC_MINIMIZE:
        ShowWindow(handle, SW_MINIMIZE);
        return 0;
    case SC_MAXIMIZE:
        ShowWindow(handle, SW_MAXIMIZE);
        return 0;
    case SC_RESTORE:
        if (IsIconic(handle) != FALSE || IsZoomed(handle) != FALSE) {
            ShowWindow(handle, SW_RESTORE);
        }
        return 0;
    case SC_MOVE:
        MoveWithMouse(handle);
        return 0;
    default:
        return 0;
    }
}

// ---- Messages ----

LRESULT CalculateClient(const Window& window, WPARAM wParam, LPARAM lParam) {
    if (lParam == 0) {
        return 0;
    }
    if (wParam != FALSE) {
        auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        params->rgrc[0] = posix::ClientRectFor(params->rgrc[0], window.Style, window.ExStyle);
    } else {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        *rect = posix::ClientRectFor(*rect, window.Style, window.ExStyle);
    }
    return 0;
}

// Windows the user can size keep to their limits, whoever moves them.
void KeepToLimits(HWND handle, const Window& window, WINDOWPOS* pos) {
    const bool sizable =
        (window.Style & WS_THICKFRAME) != 0 || (window.Style & (WS_POPUP | WS_CHILD)) == 0;
    if (pos == nullptr || !sizable || (pos->flags & SWP_NOSIZE) != 0 ||
        (window.Style & (WS_MINIMIZE | WS_MAXIMIZE)) != 0) {
        return;
    }
    const MINMAXINFO limits = posix::MinMaxInfoOf(handle);
    pos->cx = std::clamp(pos->cx, static_cast<int>(limits.ptMinTrackSize.x),
                         std::max<int>(limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x));
    pos->cy = std::clamp(pos->cy, static_cast<int>(limits.ptMinTrackSize.y),
                         std::max<int>(limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y));
}

void SendMoveAndSize(HWND handle, const WINDOWPOS* pos) {
    if (pos == nullptr) {
        return;
    }
    if ((pos->flags & posix::SWP_NOCLIENTMOVE) == 0) {
        const Window* window = posix::FindWindowRecord(handle);
        if (window == nullptr) {
            return;
        }
        SendToWindow(handle, WM_MOVE, 0,
                     MAKELPARAM(static_cast<WORD>(window->Client.left),
                                static_cast<WORD>(window->Client.top)));
    }
    if ((pos->flags & posix::SWP_NOCLIENTSIZE) == 0) {
        const Window* window = posix::FindWindowRecord(handle);
        if (window == nullptr) {
            return;
        }
        WPARAM state = SIZE_RESTORED;
        if ((window->Style & WS_MINIMIZE) != 0) {
            state = SIZE_MINIMIZED;
        } else if ((window->Style & WS_MAXIMIZE) != 0) {
            state = SIZE_MAXIMIZED;
        }
        SendToWindow(handle, WM_SIZE, state,
                     MAKELPARAM(static_cast<WORD>(window->Client.right - window->Client.left),
                                static_cast<WORD>(window->Client.bottom - window->Client.top)));
    }
}

// Owned windows hidden or shown with their owner follow it (the reason is in lParam).
void FollowOwner(HWND handle, const Window& window, WPARAM show, LPARAM reason) {
    const bool visible = (window.Style & WS_VISIBLE) != 0;
    if (reason == 0 || window.Owner == nullptr || visible == (show != FALSE)) {
        return;
    }
    ShowWindow(handle, show != FALSE ? SW_SHOWNA : SW_HIDE);
}

LRESULT SetCursorFor(HWND handle, const Window& window, WPARAM wParam, LPARAM lParam) {
    if (window.Parent != nullptr && SendToWindow(window.Parent, WM_SETCURSOR, wParam, lParam)) {
        return TRUE;
    }
    const auto code = static_cast<SHORT>(LOWORD(static_cast<ULONG_PTR>(lParam)));
    if (code == HTERROR) {
        return FALSE;
    }
    const Window* current = posix::FindWindowRecord(handle);
    if (code == HTCLIENT && current != nullptr && current->Class && current->Class->Cursor) {
        SetCursor(current->Class->Cursor);
    } else if (code != HTCLIENT) {
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    }
    return TRUE;
}

// The display shows the new icon on the native window at once.
LRESULT SwapIcon(HWND handle, Window& window, WPARAM kind, LPARAM icon) {
    HICON& slot = kind == ICON_BIG ? window.BigIcon : window.SmallIcon;
    const HICON previous = slot;
    slot = reinterpret_cast<HICON>(icon);
    posix::TellDisplay(handle);
    return reinterpret_cast<LRESULT>(previous);
}

// The class brush (a brush or a system colour index plus one) fills the client area; without
// one nothing is erased and the answer says so.
LRESULT EraseWithClassBrush(HWND handle, const Window& window, HDC dc) {
    if (!window.Class || window.Class->Background == nullptr || dc == nullptr) {
        return 0;
    }
    RECT client{};
    GetClientRect(handle, &client);
    FillRect(dc, &client, window.Class->Background);
    return 1;
}

} // namespace

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = posix::FindWindowRecord(handle);
    if (window == nullptr) {
        return 0;
    }
    switch (message) {
    case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (create != nullptr && create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName)) {
            window->Text = create->lpszName;
        }
        return TRUE;
    }
    case WM_NCCALCSIZE:
        return CalculateClient(*window, wParam, lParam);
    case WM_NCHITTEST:
        return HitTestFrame(*window, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCACTIVATE:
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN:
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && (window->Style & WS_MINIMIZE) == 0) {
            SetFocus(handle);
        }
        return 0;
    case WM_MOUSEACTIVATE:
        if (window->Parent != nullptr) {
            const LRESULT answer = SendToWindow(window->Parent, message, wParam, lParam);
            if (answer != 0) {
                return answer;
            }
        }
        return MA_ACTIVATE;
    case WM_SETCURSOR:
        return SetCursorFor(handle, *window, wParam, lParam);
    case WM_CLOSE:
        DestroyWindow(handle);
        return 0;
    case WM_SYSCOMMAND:
        return SystemCommand(handle, wParam);
    case WM_SYSKEYDOWN:
        if (wParam == static_cast<WPARAM>(VK_F4) &&
            (HIWORD(static_cast<ULONG_PTR>(lParam)) & KeyAltDown) != 0) {
            PostMessageA(posix::RootOf(handle), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_NCLBUTTONDOWN:
        if (wParam == static_cast<WPARAM>(HTCAPTION)) {
            SendToWindow(handle, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
        }
        return 0;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == static_cast<WPARAM>(HTCAPTION) && (window->Style & WS_MAXIMIZEBOX) != 0) {
            SendToWindow(handle, WM_SYSCOMMAND, IsZoomed(handle) ? SC_RESTORE : SC_MAXIMIZE,
                         lParam);
        }
        return 0;
    case WM_SHOWWINDOW:
        FollowOwner(handle, *window, wParam, lParam);
        return 0;
    case WM_GETTEXT:
        return CopyText(*window, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window->Text.size());
    case WM_SETTEXT:
        window->Text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
        posix::TellDisplay(handle);
        return TRUE;
    case WM_ERASEBKGND:
        return EraseWithClassBrush(handle, *window, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(handle, &paint);
        EndPaint(handle, &paint);
        return 0;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(
            posix::DefaultControlColors(message, reinterpret_cast<HDC>(wParam)));
    case WM_WINDOWPOSCHANGING:
        KeepToLimits(handle, *window, reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    case WM_WINDOWPOSCHANGED:
        SendMoveAndSize(handle, reinterpret_cast<const WINDOWPOS*>(lParam));
        return 0;
    case WM_SETICON:
        return SwapIcon(handle, *window, wParam, lParam);
    case WM_GETICON:
        return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? window->BigIcon : window->SmallIcon);
    case WM_CANCELMODE:
        if (GetCapture() == handle) {
            ReleaseCapture();
        }
        return 0;
    case WM_MOUSEWHEEL:
        // The wheel goes up the chain of parents until one uses it.
        return window->Parent != nullptr ? SendToWindow(window->Parent, message, wParam, lParam)
                                         : 0;
    default:
        return 0;
    }
}
