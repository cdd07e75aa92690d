// The BUTTON control: push buttons (and the check state of check boxes), pushed by the left
// mouse button or the space bar and clicked when released over the button.

#include "platform/posix/controls/control_common.h"
#include "platform/posix/controls/controls.h"

namespace posix {
namespace {

struct ButtonState {
    bool Pushed = false;        // shown pushed in (BST_PUSHED)
    bool Focused = false;       // has the keyboard focus (BST_FOCUS)
    UINT Check = BST_UNCHECKED; // check state of check boxes and radio buttons
    bool MouseTracking = false; // a left-button press is followed with the mouse captured
    bool SpaceTracking = false; // the space bar went down on the button and is still held
    HFONT Font = nullptr;       // font set by WM_SETFONT
};

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
}
DWORD TypeOf(HWND window) {
    return StyleOf(window) & BS_TYPEMASK;
}

bool IsPushType(DWORD type) {
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_PUSHBOX;
}
bool IsThreeState(DWORD type) {
    return type == BS_3STATE || type == BS_AUTO3STATE;
}
bool IsRadioType(DWORD type) {
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool PointInClient(HWND window, LPARAM point) {
    RECT client{};
    GetClientRect(window, &client);
    const int x = GET_X_LPARAM(point);
    const int y = GET_Y_LPARAM(point);
    return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

// The pushed look changes through BM_SETSTATE sent to the button itself, so a procedure that
// subclasses the button sees every change.
void SetPushed(HWND window, bool pushed) {
    SendMessageA(window, BM_SETSTATE, pushed, 0);
}

// A completed click: automatic check boxes change their check, then the parent hears of it.
void Click(HWND window, ButtonState& state) {
    const DWORD type = TypeOf(window);
    if (type == BS_AUTOCHECKBOX) {
        state.Check = state.Check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    } else if (type == BS_AUTO3STATE) {
        state.Check = (state.Check + 1) % 3;
    }
    NotifyParent(window, BN_CLICKED);
}

// Button-down captures the mouse, takes the focus and pushes the button.
LRESULT OnLButtonDown(HWND window, ButtonState& state) {
    SetCapture(window);
    if (GetFocus() != window) {
        SetFocus(window);
        if (!ControlAlive(window, &state)) {
            return 0;
        }
    }
    state.MouseTracking = true;
    SetPushed(window, true);
    return 0;
}

// A double click reports itself with BS_NOTIFY (and on radio, user and owner-drawn buttons);
// other buttons take it as one more press.
LRESULT OnLButtonDblClk(HWND window, ButtonState& state) {
    const DWORD type = TypeOf(window);
    if ((StyleOf(window) & BS_NOTIFY) != 0 || IsRadioType(type) || type == BS_USERBUTTON ||
        type == BS_OWNERDRAW) {
        NotifyParent(window, BN_DOUBLECLICKED);
        return 0;
    }
    return OnLButtonDown(window, state);
}

// While the press is followed, the button looks pushed exactly while the pointer is over it.
LRESULT OnMouseMove(HWND window, const ButtonState& state, LPARAM point) {
    if (state.MouseTracking && GetCapture() == window) {
        const bool inside = PointInClient(window, point);
        if (inside != state.Pushed) {
            SetPushed(window, inside);
        }
    }
    return 0;
}

// Button-up un-pushes and releases the capture; only then, when the pointer is over the
// button and it was still pushed, does the click happen.
LRESULT OnLButtonUp(HWND window, ButtonState& state, LPARAM point) {
    if (!state.MouseTracking) {
        return 0;
    }
    state.MouseTracking = false;
    const bool wasPushed = state.Pushed;
    SetPushed(window, false);
    if (!ControlAlive(window, &state)) {
        return 0;
    }
    if (GetCapture() == window) {
        ReleaseCapture();
        if (!ControlAlive(window, &state)) {
            return 0;
        }
    }
    if (wasPushed && PointInClient(window, point)) {
        Click(window, state);
    }
    return 0;
}

// Another window took the capture: the press ends without a click.
LRESULT OnCaptureChanged(HWND window, ButtonState& state, LPARAM newCapture) {
    if (state.MouseTracking && reinterpret_cast<HWND>(newCapture) != window) {
        state.MouseTracking = false;
        if (state.Pushed) {
            SetPushed(window, false);
        }
    }
    return 0;
}

// Space down pushes; auto-repeated downs (bit 30: the key was already down) change nothing.
LRESULT OnKeyDown(HWND window, ButtonState& state, WPARAM key, LPARAM flags) {
    if (key != VK_SPACE) {
        return DefWindowProcA(window, WM_KEYDOWN, key, flags);
    }
    if (!state.SpaceTracking && !state.MouseTracking && (flags & 0x40000000) == 0) {
        state.SpaceTracking = true;
        SetPushed(window, true);
    }
    return 0;
}

// Space up clicks a button that the space bar pushed and that is still pushed.
LRESULT OnKeyUp(HWND window, ButtonState& state, WPARAM key, LPARAM flags) {
    if (key != VK_SPACE) {
        return DefWindowProcA(window, WM_KEYUP, key, flags);
    }
    if (!state.SpaceTracking) {
        return 0;
    }
    state.SpaceTracking = false;
    const bool wasPushed = state.Pushed;
    SetPushed(window, false);
    if (wasPushed && ControlAlive(window, &state)) {
        Click(window, state);
    }
    return 0;
}

LRESULT OnSetFocus(HWND window, ButtonState& state) {
    state.Focused = true;
    if ((StyleOf(window) & BS_NOTIFY) != 0) {
        NotifyParent(window, BN_SETFOCUS);
    }
    return 0;
}

// Losing the focus in the middle of a press (mouse or space bar) releases the button without
// a click.
LRESULT OnKillFocus(HWND window, ButtonState& state) {
    state.Focused = false;
    const bool wasTracking = state.MouseTracking || state.SpaceTracking;
    state.MouseTracking = false;
    state.SpaceTracking = false;
    if (wasTracking && GetCapture() == window) {
        ReleaseCapture();
        if (!ControlAlive(window, &state)) {
            return 0;
        }
    }
    if (state.Pushed) {
        SetPushed(window, false);
        if (!ControlAlive(window, &state)) {
            return 0;
        }
    }
    if ((StyleOf(window) & BS_NOTIFY) != 0) {
        NotifyParent(window, BN_KILLFOCUS);
    }
    return 0;
}

// BM_CLICK plays a press and release at the button's corner. A disabled button, which the
// user could not click, ignores it.
LRESULT OnClick(HWND window) {
    if (!IsWindowEnabled(window)) {
        return 0;
    }
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    if (IsWindow(window)) {
        SendMessageA(window, WM_LBUTTONUP, 0, 0);
    }
    return 0;
}

// Push buttons have no check and ignore BM_SETCHECK.
LRESULT OnSetCheck(HWND window, ButtonState& state, WPARAM check) {
    const DWORD type = TypeOf(window);
    if (IsPushType(type)) {
        return 0;
    }
    if (IsThreeState(type) && check == BST_INDETERMINATE) {
        state.Check = BST_INDETERMINATE;
    } else {
        state.Check = check != 0 ? BST_CHECKED : BST_UNCHECKED;
    }
    return 0;
}

LRESULT OnGetState(const ButtonState& state) {
    return state.Check | (state.Pushed ? BST_PUSHED : 0) | (state.Focused ? BST_FOCUS : 0);
}

// Changes the button type (push or default push, typically) and keeps the other style bits.
LRESULT OnSetStyle(HWND window, WPARAM style) {
    const DWORD kept = StyleOf(window) & ~BS_TYPEMASK;
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(kept | (style & BS_TYPEMASK)));
    return 0;
}

LRESULT OnGetDlgCode(HWND window) {
    const DWORD type = TypeOf(window);
    if (type == BS_DEFPUSHBUTTON) {
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    }
    if (IsPushType(type)) {
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    }
    return IsRadioType(type) ? DLGC_BUTTON | DLGC_RADIOBUTTON : DLGC_BUTTON;
}

LRESULT OnNcCreate(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!CreateControlState<ButtonState>(window)) {
        return FALSE;
    }
    return DefWindowProcA(window, WM_NCCREATE, wParam, lParam);
}

LRESULT OnNcDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
    DestroyControlState<ButtonState>(window);
    return DefWindowProcA(window, WM_NCDESTROY, wParam, lParam);
}

} // namespace

LRESULT CALLBACK ButtonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        return OnNcCreate(window, wParam, lParam);
    }
    ButtonState* state = ControlState<ButtonState>(window);
    if (state == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    ButtonState& s = *state;
    switch (message) {
    case WM_NCDESTROY:
        return OnNcDestroy(window, wParam, lParam);
    case WM_SETFONT:
        s.Font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.Font);
    case WM_GETDLGCODE:
        return OnGetDlgCode(window);
    case WM_LBUTTONDOWN:
        return OnLButtonDown(window, s);
    case WM_LBUTTONDBLCLK:
        return OnLButtonDblClk(window, s);
    case WM_MOUSEMOVE:
        return OnMouseMove(window, s, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(window, s, lParam);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(window, s, lParam);
    case WM_KEYDOWN:
        return OnKeyDown(window, s, wParam, lParam);
    case WM_KEYUP:
        return OnKeyUp(window, s, wParam, lParam);
    case WM_SETFOCUS:
        return OnSetFocus(window, s);
    case WM_KILLFOCUS:
        return OnKillFocus(window, s);
    case BM_CLICK:
        return OnClick(window);
    case BM_GETCHECK:
        return IsPushType(TypeOf(window)) ? BST_UNCHECKED : s.Check;
    case BM_SETCHECK:
        return OnSetCheck(window, s, wParam);
    case BM_GETSTATE:
        return OnGetState(s);
    case BM_SETSTATE:
        s.Pushed = wParam != 0;
        return 0;
    case BM_SETSTYLE:
        return OnSetStyle(window, wParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace posix
