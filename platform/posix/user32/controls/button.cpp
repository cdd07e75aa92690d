// The BUTTON control: push buttons (and the check state of check boxes), pushed by the left
// mouse button or the space bar and clicked when released over the button, drawn in the
// classic look.

#include "platform/posix/user32/control_colors.h"
#include "platform/posix/user32/controls/control_common.h"
#include "platform/posix/user32/controls/control_paint.h"
#include "platform/posix/user32/controls/control_text.h"
#include "platform/posix/user32/controls/controls.h"

#include <algorithm>
#include <string>

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

// Stores a change of the look and repaints when it really changed.
template <class Value> LRESULT ChangeLook(HWND window, Value& field, Value value) {
    if (field != value) {
        field = value;
        InvalidateRect(window, nullptr, FALSE);
    }
    return 0;
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
        ChangeLook(window, state.Check, state.Check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    } else if (type == BS_AUTO3STATE) {
        ChangeLook(window, state.Check, (state.Check + 1) % 3);
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
    ChangeLook(window, state.Focused, true);
    if ((StyleOf(window) & BS_NOTIFY) != 0) {
        NotifyParent(window, BN_SETFOCUS);
    }
    return 0;
}

// Losing the focus in the middle of a press (mouse or space bar) releases the button without
// a click.
LRESULT OnKillFocus(HWND window, ButtonState& state) {
    ChangeLook(window, state.Focused, false);
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
    const UINT wanted = IsThreeState(type) && check == BST_INDETERMINATE
                            ? BST_INDETERMINATE
                            : (check != 0 ? BST_CHECKED : BST_UNCHECKED);
    return ChangeLook(window, state.Check, wanted);
}

LRESULT OnGetState(const ButtonState& state) {
    return state.Check | (state.Pushed ? BST_PUSHED : 0) | (state.Focused ? BST_FOCUS : 0);
}

// Changes the button type (push or default push, typically) and keeps the other style bits.
LRESULT OnSetStyle(HWND window, WPARAM style, LPARAM redraw) {
    const DWORD kept = StyleOf(window) & ~BS_TYPEMASK;
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(kept | (style & BS_TYPEMASK)));
    if (LOWORD(redraw) != 0) {
        InvalidateRect(window, nullptr, FALSE);
    }
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

// ---- drawing ----

// Side of the box of check boxes and radio buttons, and the gap between it and the text.
constexpr int CheckBoxSize = 13;
constexpr int CheckBoxGap = 4;

std::string CaptionOf(HWND window) {
    std::string text(static_cast<std::size_t>(std::max(0, GetWindowTextLengthA(window))) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// DrawTextA format of the caption from the alignment styles; push buttons centre by default,
// the others align left.
UINT CaptionFormat(DWORD style, bool push) {
    UINT format = (style & BS_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE;
    switch (style & BS_CENTER) {
    case BS_LEFT:
        format |= DT_LEFT;
        break;
    case BS_RIGHT:
        format |= DT_RIGHT;
        break;
    case BS_CENTER:
        format |= DT_CENTER;
        break;
    default:
        format |= push ? DT_CENTER : DT_LEFT;
        break;
    }
    if ((style & BS_MULTILINE) == 0) {
        switch (style & BS_VCENTER) {
        case BS_TOP:
            return format | DT_TOP;
        case BS_BOTTOM:
            return format | DT_BOTTOM;
        default:
            return format | DT_VCENTER;
        }
    }
    return format;
}

// Multi-line captions centre their block of lines vertically themselves.
RECT CaptionRect(HDC dc, const std::string& text, RECT area, UINT format) {
    if ((format & DT_WORDBREAK) == 0) {
        return area;
    }
    RECT needed = area;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &needed, format | DT_CALCRECT);
    const int spare = (area.bottom - area.top) - (needed.bottom - needed.top);
    if (spare > 0) {
        area.top += spare / 2;
    }
    return area;
}

void DrawCaption(HWND window, HDC dc, const std::string& text, RECT area, UINT format) {
    const int mode = SetBkMode(dc, TRANSPARENT);
    DrawControlText(dc, text, CaptionRect(dc, text, area, format), format,
                    IsWindowEnabled(window) != FALSE);
    SetBkMode(dc, mode);
}

// The push button: a 1-pixel black frame when it is the default button, a raised edge (a
// shadow frame while pushed, the caption one pixel down and right), and the focus rectangle
// inside when it has the focus. BS_FLAT draws a plain frame instead of the edge. As in Win32,
// the face and caption keep the system's button colours whatever the parent answered to
// WM_CTLCOLORBTN; only owner-drawn buttons choose their own.
void DrawPushButton(HWND window, const ButtonState& state, HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    const DWORD style = StyleOf(window);
    RECT face = client;
    if ((style & BS_FLAT) != 0) {
        FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
        face = Inset(face, 1, 1);
    } else {
        if (TypeOf(window) == BS_DEFPUSHBUTTON) {
            FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
            face = Inset(face, 1, 1);
        }
        if (state.Pushed) {
            FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
            face = Inset(face, 1, 1);
        } else {
            DrawEdge(dc, &face, EDGE_RAISED, BF_RECT | BF_SOFT | BF_ADJUST);
        }
    }
    FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const int shift = state.Pushed ? 1 : 0;
    const RECT captionArea = Shifted(Inset(face, 1, 1), shift, shift);
    DrawCaption(window, dc, CaptionOf(window), captionArea, CaptionFormat(style, true));
    if (state.Focused) {
        const RECT focus = Inset(face, 1, 1);
        DrawFocusRect(dc, &focus);
    }
}

// The check mark: two strokes three pixels thick, down to the bottom left third and up to the
// top right.
void DrawCheckMark(HDC dc, const RECT& box, HBRUSH brush) {
    const int left = box.left + 3;
    const int bottom = box.top + 9;
    for (int i = 0; i < 7; ++i) {
        const int y = i < 3 ? bottom - 2 + i : bottom - i + 2;
        const RECT stroke{left + i, y - 2, left + i + 1, y + 1};
        FillRect(dc, &stroke, brush);
    }
}

// Check boxes and radio buttons: a sunken white box (a dot inside for a checked radio button,
// a check mark for a checked box, grey for the third state) and the caption beside it.
void DrawCheckButton(HWND window, const ButtonState& state, HDC dc, HBRUSH brush) {
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, brush);
    const DWORD style = StyleOf(window);
    const bool textLeft = (style & BS_LEFTTEXT) != 0;
    const int middle = (client.top + client.bottom) / 2;
    const int boxLeft = textLeft ? client.right - CheckBoxSize : client.left;
    RECT box{boxLeft, middle - CheckBoxSize / 2, boxLeft + CheckBoxSize,
             middle - CheckBoxSize / 2 + CheckBoxSize};
    RECT inside = box;
    DrawEdge(dc, &inside, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    const bool enabled = IsWindowEnabled(window) != FALSE;
    const bool grey = state.Pushed || !enabled || state.Check == BST_INDETERMINATE;
    FillRect(dc, &inside, GetSysColorBrush(grey ? COLOR_BTNFACE : COLOR_WINDOW));
    const HBRUSH mark = GetSysColorBrush(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    if (state.Check != BST_UNCHECKED) {
        if (IsRadioType(TypeOf(window))) {
            const RECT dot = Inset(inside, 3, 3);
            FillRect(dc, &dot, mark);
        } else {
            DrawCheckMark(dc, box, mark);
        }
    }
    RECT text = client;
    if (textLeft) {
        text.right = box.left - CheckBoxGap;
    } else {
        text.left = box.right + CheckBoxGap;
    }
    const std::string caption = CaptionOf(window);
    DrawCaption(window, dc, caption, text, CaptionFormat(style, false));
    if (state.Focused && !caption.empty()) {
        SIZE size{};
        GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        RECT focus{text.left - 1, middle - size.cy / 2 - 1, text.left + size.cx + 1,
                   middle - size.cy / 2 + size.cy + 1};
        DrawFocusRect(dc, &focus);
    }
}

// The group box: an etched frame with the caption over its top line.
void DrawGroupBox(HWND window, HDC dc, HBRUSH brush) {
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, brush);
    const std::string caption = CaptionOf(window);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    RECT frame = client;
    frame.top += metrics.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption.empty()) {
        RECT text{client.left + 8, client.top, client.right - 8, client.top + metrics.tmHeight};
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_SINGLELINE | DT_CALCRECT);
        text = Inset(text, -2, 0);
        FillRect(dc, &text, brush);
        DrawCaption(window, dc, caption, text, DT_SINGLELINE | DT_CENTER);
    }
}

void Draw(HWND window, const ButtonState& state, HDC dc) {
    const DWORD type = TypeOf(window);
    if (type == BS_OWNERDRAW || type == BS_USERBUTTON) {
        return;
    }
    const HBRUSH brush = ControlColors(window, dc, WM_CTLCOLORBTN);
    const SelectedFont font(dc, FontOrDefault(state.Font));
    if (IsPushType(type) || (StyleOf(window) & BS_PUSHLIKE) != 0) {
        DrawPushButton(window, state, dc);
    } else if (type == BS_GROUPBOX) {
        DrawGroupBox(window, dc, brush);
    } else {
        DrawCheckButton(window, state, dc, brush);
    }
}

LRESULT OnSetText(HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProcA(window, WM_SETTEXT, wParam, lParam);
    InvalidateRect(window, nullptr, FALSE);
    return result;
}

LRESULT OnSetFont(HWND window, ButtonState& state, WPARAM font, LPARAM redraw) {
    state.Font = reinterpret_cast<HFONT>(font);
    if (LOWORD(redraw) != 0) {
        InvalidateRect(window, nullptr, FALSE);
    }
    return 0;
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
        return OnSetFont(window, s, wParam, lParam);
    case WM_SETTEXT:
        return OnSetText(window, wParam, lParam);
    case WM_ENABLE:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintClient(window, message, wParam, [&](HDC dc) { Draw(window, s, dc); });
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
        return ChangeLook(window, s.Pushed, wParam != 0);
    case BM_SETSTYLE:
        return OnSetStyle(window, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace posix
