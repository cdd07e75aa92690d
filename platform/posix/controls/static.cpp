// The STATIC control: a text label. Without SS_NOTIFY it is transparent to the mouse, which
// then reaches whatever lies beneath; with it, it reports clicks, double clicks and enabling.

#include "platform/posix/controls/control_common.h"
#include "platform/posix/controls/controls.h"

namespace posix {
namespace {

struct StaticState {
    HFONT Font = nullptr; // font set by WM_SETFONT
};

bool Notifies(HWND window) {
    return (static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & SS_NOTIFY) != 0;
}

LRESULT OnNcHitTest(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!Notifies(window)) {
        return HTTRANSPARENT;
    }
    return DefWindowProcA(window, WM_NCHITTEST, wParam, lParam);
}

// Every notification needs SS_NOTIFY. STN_CLICKED goes out on the button-down already.
LRESULT NotifyIfAsked(HWND window, int code) {
    if (Notifies(window)) {
        NotifyParent(window, code);
    }
    return 0;
}

LRESULT OnEnable(HWND window, WPARAM enabled) {
    return NotifyIfAsked(window, enabled != 0 ? STN_ENABLE : STN_DISABLE);
}

LRESULT OnNcCreate(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!CreateControlState<StaticState>(window)) {
        return FALSE;
    }
    return DefWindowProcA(window, WM_NCCREATE, wParam, lParam);
}

LRESULT OnNcDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
    DestroyControlState<StaticState>(window);
    return DefWindowProcA(window, WM_NCDESTROY, wParam, lParam);
}

} // namespace

LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        return OnNcCreate(window, wParam, lParam);
    }
    StaticState* state = ControlState<StaticState>(window);
    if (state == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_NCDESTROY:
        return OnNcDestroy(window, wParam, lParam);
    case WM_NCHITTEST:
        return OnNcHitTest(window, wParam, lParam);
    case WM_LBUTTONDOWN:
        return NotifyIfAsked(window, STN_CLICKED);
    case WM_LBUTTONDBLCLK:
        return NotifyIfAsked(window, STN_DBLCLK);
    case WM_ENABLE:
        return OnEnable(window, wParam);
    case WM_SETFONT:
        state->Font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->Font);
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace posix
