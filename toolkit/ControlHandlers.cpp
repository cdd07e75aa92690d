#include "toolkit/ControlHandlers.h"

#include <cstdlib>

#include "toolkit/Colors.h"
#include "toolkit/ControlTools.h"
#include "toolkit/Navigation.h"
#include "toolkit/TControl.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

// Index: standard controls; forms and the application control; mouse and keys; hover, show
// and size.

namespace {

constexpr UINT FirstMouseMessage = WM_MOUSEMOVE;
constexpr UINT LastMouseMessage = WM_MOUSEWHEEL;
constexpr UINT FirstReflectedColor = WM_CTLCOLORMSGBOX + ReflectedColorOffset;
constexpr UINT LastReflectedColor = WM_CTLCOLORSTATIC + ReflectedColorOffset;
constexpr WPARAM SysCommandMask = 0xFFF0;

bool KeyIsDown(int virtualKey) {
    return GetKeyState(virtualKey) < 0;
}

bool IsMouseMessage(UINT msg) {
    return msg >= FirstMouseMessage && msg <= LastMouseMessage;
}

// Gives the focus to a control's window, making the window first when there is none.
void FocusWindowOf(TControl* control) {
    SetFocus(control->GetHandle());
}

// ---- Standard controls ----

// Raises the event that a reflected notification code stands for; false when the code means
// nothing for the control's kind. Codes are compared in a fixed order and the first match wins.
bool RaiseNotification(TControl* control, WORD code) {
    const TKindDescriptor& kind = control->Kind;
    if (code == kind.ClickCode) {
        // A click caused by the toolkit's own focus move is not the user's.
        if (control->FocusGuard == 0) {
            control->ClickEvent.Call(control);
        }
    } else if (code == kind.SetFocusCode) {
        control->FocusInEvent.Call(control);
    } else if (code == kind.KillFocusCode) {
        control->FocusOutEvent.Call(control);
    } else if (code == static_cast<WORD>(kind.ChangeCode)) {
        control->ChangeEvent.Call(control);
    } else if (code == static_cast<WORD>(kind.SelChangeCode)) {
        if (control->SelChangeEvent.IsSet()) {
            control->SelChangeEvent.Call(control);
        } else {
            control->ChangeEvent.Call(control);
        }
    } else {
        return false;
    }
    return true;
}

LRESULT AnswerColors(TControl* control, HDC dc) {
    SetTextColor(dc, ResolveColor(control->FontColor));
    if (control->Transparent) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ResolveColor(control->Color));
    return reinterpret_cast<LRESULT>(ControlBrush(control));
}

} // namespace

bool StandardControlHandler(TControl* control, WindowMessage& message, LRESULT& result) {
    if (message.Msg == WM_SETFOCUS) {
        result = 0;
        TControl* form = OwningForm(control);
        if (form == nullptr) {
            return true;
        }
        form->LastFocused = control;
        return false;
    }
    if (message.Msg == MsgReflectedCommand) {
        if (!RaiseNotification(control, HIWORD(message.WParam))) {
            return false;
        }
        result = CallDefault(control, message);
        return true;
    }
    if (message.Msg >= FirstReflectedColor && message.Msg <= LastReflectedColor) {
        result = AnswerColors(control, reinterpret_cast<HDC>(message.WParam));
        return true;
    }
    return false;
}

// ---- Forms and the application control ----

bool FormHandler(TControl* control, WindowMessage& message, LRESULT& result) {
    if (message.Msg == WM_SETFOCUS) {
        bool handled = false;
        if (control->LastFocused != nullptr) {
            FocusWindowOf(control->LastFocused);
            result = 0;
            handled = true;
        }
        // The application control remembers the form that was active last.
        if (MainControl != nullptr && MainControl != control) {
            MainControl->LastFocused = control;
        }
        return handled;
    }
    if (message.Msg == WM_ENDSESSION && message.WParam != 0) {
        // The session ends: give back the hold of the handler walk, destroy every window and
        // end the process at once.
        DropHold(control);
        AppTerminated = true;
        LoopRunning = false;
        TControl* app = MainControl;
        MainControl = nullptr;
        Free(app);
        std::_Exit(0);
    }
    return false;
}

bool FormEraseHandler(TControl* control, WindowMessage& message, LRESULT& result) {
    if (message.Msg != WM_ERASEBKGND) {
        return false;
    }
    control->MakeChildWindows();
    if (control->Transparent) {
        return false;
    }
    const HDC dc = reinterpret_cast<HDC>(message.WParam);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ResolveColor(control->Color));
    SetBrushOrgEx(dc, 0, 0, nullptr);
    RECT client{};
    GetClientRect(control->Handle, &client);
    FillRect(dc, &client, ControlBrush(control));
    result = 1;
    return true;
}

bool AppHandler(TControl* control, WindowMessage& message, LRESULT& result) {
    if (message.Msg == WM_SETFOCUS && control->LastFocused != nullptr) {
        FocusWindowOf(control->LastFocused);
        result = 0;
        return true;
    }
    if (message.Msg == WM_SYSCOMMAND && (message.WParam & SysCommandMask) == SC_CLOSE) {
        TControl* first = static_cast<TControl*>(control->Children->Get(0));
        if (first != nullptr && IsMainWindow(first)) {
            PostMessageA(first->Handle, WM_CLOSE, 0, 0);
            result = 0;
            return true;
        }
    }
    return false;
}

// ---- Mouse and keys ----

namespace {

std::uint32_t MouseShift(WPARAM wParam) {
    const auto shift = static_cast<std::uint32_t>(wParam);
    return KeyIsDown(VK_MENU) ? shift | ShiftAlt : shift;
}

std::uint32_t KeyShift() {
    std::uint32_t shift = 0;
    if (KeyIsDown(VK_SHIFT)) {
        shift |= ShiftShift;
    }
    if (KeyIsDown(VK_CONTROL)) {
        shift |= ShiftCtrl;
    }
    if (KeyIsDown(VK_MENU)) {
        shift |= ShiftAlt;
    }
    return shift;
}

// Calls a mouse event with the button it stands for; the button is filled only for a set event.
void RaiseMouse(TControl* control, const TMouseEvent& event, std::uint8_t button,
                MouseEventData& data) {
    if (event.IsSet()) {
        data.Button = button;
        event.Call(control, data);
    }
}

void DispatchMouse(TControl* control, UINT msg, MouseEventData& data) {
    switch (msg) {
    case WM_MOUSEMOVE:
        return RaiseMouse(control, control->MouseMoveEvent, 0, data);
    case WM_LBUTTONDOWN:
        return RaiseMouse(control, control->MouseDownEvent, 1, data);
    case WM_RBUTTONDOWN:
        return RaiseMouse(control, control->MouseDownEvent, 2, data);
    case WM_MBUTTONDOWN:
        return RaiseMouse(control, control->MouseDownEvent, 3, data);
    case WM_LBUTTONUP:
        return RaiseMouse(control, control->MouseUpEvent, 1, data);
    case WM_RBUTTONUP:
        return RaiseMouse(control, control->MouseUpEvent, 2, data);
    case WM_MBUTTONUP:
        return RaiseMouse(control, control->MouseUpEvent, 3, data);
    case WM_LBUTTONDBLCLK:
        return RaiseMouse(control, control->MouseDblClickEvent, 1, data);
    case WM_RBUTTONDBLCLK:
        return RaiseMouse(control, control->MouseDblClickEvent, 2, data);
    case WM_MBUTTONDBLCLK:
        return RaiseMouse(control, control->MouseDblClickEvent, 3, data);
    case WM_MOUSEWHEEL:
        return RaiseMouse(control, control->MouseWheelEvent, 0, data);
    default:
        return;
    }
}

// Calls a key event with the key in WParam, which the event may change.
void RaiseKey(TControl* control, const TKeyEvent& event, WindowMessage& message) {
    if (event.IsSet()) {
        auto key = static_cast<std::uint32_t>(message.WParam);
        event.Call(control, key, KeyShift());
        message.WParam = key;
    }
}

void RaiseKeyChar(TControl* control, WindowMessage& message) {
    if (control->KeyCharEvent.IsSet()) {
        auto character = static_cast<std::uint8_t>(message.WParam & 0xFF);
        control->KeyCharEvent.Call(control, character, KeyShift());
        message.WParam = character;
    }
}

} // namespace

bool MouseEventHandler(TControl* control, WindowMessage& message, LRESULT& result) {
    if (!IsMouseMessage(message.Msg) || message.Window != control->Handle) {
        return false;
    }
    MouseEventData data;
    data.Shift = MouseShift(message.WParam);
    data.X = LOWORD(static_cast<ULONG_PTR>(message.LParam));
    data.Y = HIWORD(static_cast<ULONG_PTR>(message.LParam));
    result = 0;
    DispatchMouse(control, message.Msg, data);
    return data.StopHandling;
}

bool KeyEventHandler(TControl* control, WindowMessage& message, LRESULT& result) {
    switch (message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        RaiseKey(control, control->KeyDownEvent, message);
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        RaiseKey(control, control->KeyUpEvent, message);
        break;
    case WM_CHAR:
    case WM_SYSCHAR:
        RaiseKeyChar(control, message);
        break;
    default:
        return false;
    }
    // An event swallows a key by setting it to 0.
    if (message.WParam != 0) {
        return false;
    }
    result = 0;
    return true;
}

// ---- Hover, show and size ----

namespace {

// Looked up at each use: without the entry, leaving is noticed only by the next mouse message.
void TrackMouseLeave(HWND window, DWORD flags) {
    const HMODULE module = GetModuleHandleA("comctl32.dll");
    if (module == nullptr) {
        return;
    }
    using TrackProc = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
    const auto generic = reinterpret_cast<void (*)()>(GetProcAddress(module, "_TrackMouseEvent"));
    if (generic == nullptr) {
        return;
    }
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = flags;
    track.hwndTrack = window;
    reinterpret_cast<TrackProc>(generic)(&track);
}

bool CursorInside(TControl* control) {
    if (control->HitTestEvent.IsSet()) {
        return control->HitTestEvent.Call(control);
    }
    POINT cursor{};
    RECT client{};
    GetCursorPos(&cursor);
    ScreenToClient(control->Handle, &cursor);
    GetClientRect(control->Handle, &client);
    return cursor.x >= client.left && cursor.x < client.right && cursor.y >= client.top &&
           cursor.y < client.bottom;
}

void NoteHover(TControl* control) {
    const bool inside = CursorInside(control);
    if (inside == control->MouseInside) {
        return;
    }
    control->Invalidate();
    control->MouseInside = inside;
    if (inside) {
        control->MouseEnterEvent.Call(control);
        TrackMouseLeave(control->Handle, TME_LEAVE);
    } else {
        TrackMouseLeave(control->Handle, TME_CANCEL | TME_LEAVE);
        control->MouseLeaveEvent.Call(control);
    }
    control->Invalidate();
}

} // namespace

bool HoverHandler(TControl* control, WindowMessage& message, LRESULT& result) {
    if (IsMouseMessage(message.Msg)) {
        NoteHover(control);
    } else if (message.Msg == WM_MOUSELEAVE && control->MouseInside) {
        control->MouseInside = false;
        control->MouseLeaveEvent.Call(control);
        control->Invalidate();
    }
    result = 0;
    return false;
}

bool ShowHideHandler(TControl* control, WindowMessage& message, LRESULT&) {
    if (message.Msg != WM_SHOWWINDOW || message.Window != control->Handle) {
        return false;
    }
    const bool wasVisible = IsWindowVisible(control->Handle) != FALSE;
    control->Visible = message.WParam != 0;
    if (control->Visible && !wasVisible) {
        control->ShowEvent.Call(control);
    } else if (!control->Visible && wasVisible) {
        control->HideEvent.Call(control);
    }
    return false;
}

bool ResizeHandler(TControl* control, WindowMessage& message, LRESULT&) {
    if (message.Msg == WM_SIZE) {
        control->ResizeEvent.Call(control);
    }
    return false;
}
