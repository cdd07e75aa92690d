// The STATIC control: a text label. Without SS_NOTIFY it is transparent to the mouse, which
// then reaches whatever lies beneath; with it, it reports clicks, double clicks and enabling.
// It draws its text in the colours its parent answers to WM_CTLCOLORSTATIC, and the simple
// rectangle and frame types in system colours.

#include "platform/posix/user32/control_colors.h"
#include "platform/posix/user32/controls/control_common.h"
#include "platform/posix/user32/controls/control_paint.h"
#include "platform/posix/user32/controls/control_text.h"
#include "platform/posix/user32/controls/controls.h"

#include <algorithm>
#include <optional>
#include <string>

namespace posix {
namespace {

struct StaticState {
    HFONT Font = nullptr; // font set by WM_SETFONT
};

bool Notifies(HWND window) {
    return (static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & SS_NOTIFY) != 0;
}

void Repaint(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
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
    Repaint(window);
    return NotifyIfAsked(window, enabled != 0 ? STN_ENABLE : STN_DISABLE);
}

// ---- drawing ----

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
}

// The DrawTextA format of a text type; nothing for the types that show no text.
std::optional<UINT> TextFormat(DWORD style) {
    UINT format = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
    case SS_LEFT:
        format |= DT_LEFT | DT_WORDBREAK;
        break;
    case SS_CENTER:
        format |= DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format |= DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_SIMPLE:
        format = DT_LEFT | DT_SINGLELINE;
        break;
    case SS_LEFTNOWORDWRAP:
        format |= DT_LEFT;
        break;
    default:
        return std::nullopt;
    }
    if ((style & SS_NOPREFIX) != 0) {
        format |= DT_NOPREFIX;
    }
    if ((style & SS_CENTERIMAGE) != 0) {
        format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    }
    if ((style & SS_ELLIPSISMASK) != 0) {
        format = (format & ~DT_WORDBREAK) | DT_END_ELLIPSIS;
    }
    return format;
}

std::string TextOf(HWND window) {
    std::string text(static_cast<std::size_t>(std::max(0, GetWindowTextLengthA(window))) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The rectangle and frame types, in the colours of the classic window frame, shadow and
// background.
void DrawShape(HDC dc, DWORD type, const RECT& client) {
    RECT area = client;
    switch (type) {
    case SS_BLACKRECT:
    case SS_GRAYRECT:
    case SS_WHITERECT: {
        const int colour = type == SS_BLACKRECT  ? COLOR_WINDOWFRAME
                           : type == SS_GRAYRECT ? COLOR_BTNSHADOW
                                                 : COLOR_WINDOW;
        FillRect(dc, &area, GetSysColorBrush(colour));
        break;
    }
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME: {
        const int colour = type == SS_BLACKFRAME  ? COLOR_WINDOWFRAME
                           : type == SS_GRAYFRAME ? COLOR_BTNSHADOW
                                                  : COLOR_WINDOW;
        FrameRect(dc, &area, GetSysColorBrush(colour));
        break;
    }
    case SS_ETCHEDHORZ:
        DrawEdge(dc, &area, EDGE_ETCHED, BF_TOP | BF_BOTTOM);
        break;
    case SS_ETCHEDVERT:
        DrawEdge(dc, &area, EDGE_ETCHED, BF_LEFT | BF_RIGHT);
        break;
    case SS_ETCHEDFRAME:
        DrawEdge(dc, &area, EDGE_ETCHED, BF_RECT);
        break;
    default:
        break;
    }
}

// The background in the parent's brush (a hollow brush leaves what lies beneath), then the
// text in the parent's text colour and background mode; grey when disabled.
void Draw(HWND window, const StaticState& state, HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    const DWORD style = StyleOf(window);
    const DWORD type = style & SS_TYPEMASK;
    if (type == SS_OWNERDRAW) {
        return;
    }
    const HBRUSH brush = ControlColors(window, dc, WM_CTLCOLORSTATIC);
    const std::optional<UINT> format = TextFormat(style);
    if (!format) {
        DrawShape(dc, type, client);
        return;
    }
    FillRect(dc, &client, brush);
    const SelectedFont font(dc, FontOrDefault(state.Font));
    const std::string text = TextOf(window);
    if (!IsWindowEnabled(window)) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client, *format);
}

LRESULT OnSetText(HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProcA(window, WM_SETTEXT, wParam, lParam);
    Repaint(window);
    return result;
}

LRESULT OnSetFont(HWND window, StaticState& state, WPARAM font, LPARAM redraw) {
    state.Font = reinterpret_cast<HFONT>(font);
    if (LOWORD(redraw) != 0) {
        Repaint(window);
    }
    return 0;
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
        return OnSetFont(window, *state, wParam, lParam);
    case WM_SETTEXT:
        return OnSetText(window, wParam, lParam);
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintClient(window, message, wParam, [&](HDC dc) { Draw(window, *state, dc); });
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->Font);
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace posix
