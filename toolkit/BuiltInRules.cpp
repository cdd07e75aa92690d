#include "toolkit/BuiltInRules.h"

#include "toolkit/Navigation.h"
#include "toolkit/TControl.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

// Index: size and show state; focus; closing and destruction; keyboard; notifications and
// colours sent back to their child; the dispatch by message number.

namespace {

constexpr UINT MsgIgnored = 0x8FFF;
constexpr WPARAM SysCommandMask = 0xFFF0;

bool KeyIsDown(int virtualKey) {
    return GetKeyState(virtualKey) < 0;
}

// ---- Size and show state ----

LRESULT OnSize(TControl* control, const WindowMessage& message) {
    const LRESULT result = CallDefault(control, message);
    if (message.WParam <= 2) {
        control->WindowState = static_cast<std::uint8_t>(message.WParam);
    }
    if (!control->IsForm && RealignHook != nullptr) {
        if (control->Parent != nullptr) {
            RealignHook(control->Parent);
        }
        RealignHook(control);
    }
    return result;
}

// A window owned by a minimised window is hidden with it and comes back in the show state it
// had, kept in SavedShowState meanwhile.
LRESULT OnShowWindow(TControl* control, const WindowMessage& message) {
    if (message.LParam == SW_PARENTCLOSING) {
        control->SavedShowState = IsIconic(control->Handle)   ? SW_SHOWMINNOACTIVE
                                  : IsZoomed(control->Handle) ? SW_SHOWMAXIMIZED
                                                              : SW_SHOWNOACTIVATE;
        return CallDefault(control, message);
    }
    if (message.LParam == SW_PARENTOPENING) {
        if (control->SavedShowState != 0) {
            ShowWindow(control->Handle, static_cast<int>(control->SavedShowState));
            control->SavedShowState = 0;
        }
        return 0;
    }
    return CallDefault(control, message);
}

// ---- Focus and cursor ----

LRESULT OnSetFocus(TControl* control, const WindowMessage& message) {
    if (!TakeFocus(control)) {
        return 0;
    }
    ++control->FocusGuard;
    const LRESULT result = CallDefault(control, message);
    --control->FocusGuard;
    return result;
}

LRESULT OnSetCursor(TControl* control, const WindowMessage& message) {
    if (GetCapture() == nullptr && LOWORD(static_cast<ULONG_PTR>(message.LParam)) == HTCLIENT &&
        control->Cursor != nullptr) {
        SetCursor(control->Cursor);
        return 1;
    }
    return CallDefault(control, message);
}

// ---- Closing and destruction ----

LRESULT OnClose(TControl* control, const WindowMessage& message) {
    bool allow = true;
    control->CloseRequest.Call(control, allow);
    if (!allow) {
        if (!LoopRunning) {
            control->CloseRequest = TCloseRequest{};
        }
        return 0;
    }
    control->CloseRequest = TCloseRequest{};
    if (control == MainControl || IsMainWindow(control)) {
        if (MainControl != nullptr && MainControl != control) {
            SendToControl(MainControl, WM_CLOSE, 0, 0);
        }
        // The windows stay until the shut-down after the loop destroys them.
        PostQuitMessage(0);
        return 0;
    }
    return CallDefault(control, message);
}

LRESULT OnNcDestroy(TControl* control, const WindowMessage& message) {
    RemovePropA(control->Handle, SelfProperty);
    if (MainControl != nullptr && control->Handle == MainControl->Handle) {
        return 0;
    }
    if (IsMainWindow(control)) {
        PostMessageA(control->Handle, MsgRelease, 0, 0);
        return CallDefault(control, message);
    }
    if (control->Parent != nullptr && control->Parent == MainControl) {
        control->Destroying = true;
        Free(control);
        return 0;
    }
    return CallDefault(control, message);
}

// The control goes with whatever is left of its window. Marking the window as released
// instead would leave a live window bound to a freed control.
LRESULT OnRelease(TControl* control) {
    Free(control);
    return 0;
}

LRESULT OnSysCommand(TControl* control, const WindowMessage& message) {
    // The application window minimises in place of the main window.
    if ((message.WParam & SysCommandMask) == SC_MINIMIZE && MainControl != nullptr &&
        control != MainControl && IsMainWindow(control)) {
        PostMessageA(MainControl->Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return 0;
    }
    return CallDefault(control, message);
}

// ---- Keyboard ----

LRESULT OnKeyboard(TControl* control, WindowMessage& message) {
    const HWND focus = GetFocus();
    if (focus != nullptr && focus != control->Handle) {
        return 0;
    }
    LRESULT result = 0;
    if (control->KeyHook != nullptr && control->KeyHook(control, message, result)) {
        return result;
    }
    if (KeyIsDown(VK_CONTROL) || KeyIsDown(VK_MENU)) {
        return CallDefault(control, message);
    }
    if (message.Msg == WM_CHAR) {
        if (message.WParam == '\t') {
            message.WParam = 0;
            return 0;
        }
        return CallDefault(control, message);
    }
    TControl* form = OwningForm(control);
    if (form != nullptr && form->NavigationHook != nullptr &&
        form->NavigationHook(control, static_cast<UINT>(message.WParam),
                             message.Msg != WM_KEYDOWN)) {
        message.WParam = 0;
        return 0;
    }
    return CallDefault(control, message);
}

// ---- Sent back to the child ----

bool CarriesControl(LPARAM lParam) {
    const HWND window = reinterpret_cast<HWND>(lParam);
    return window != nullptr && GetPropA(window, SelfProperty) != nullptr;
}

LRESULT OnCommand(TControl* control, const WindowMessage& message) {
    if (CarriesControl(message.LParam)) {
        return SendMessageA(reinterpret_cast<HWND>(message.LParam), MsgReflectedCommand,
                            message.WParam, message.LParam);
    }
    return CallDefault(control, message);
}

LRESULT OnControlColor(const WindowMessage& message) {
    return SendMessageA(reinterpret_cast<HWND>(message.LParam), message.Msg + ReflectedColorOffset,
                        message.WParam, message.LParam);
}

} // namespace

LRESULT ApplyBuiltInRule(TControl* control, WindowMessage& message) {
    // A window without a control of its own reaches the application control; the rules below
    // act on the control's window, so such a message only gets default processing.
    if (message.Window != control->Handle) {
        return CallDefault(control, message);
    }
    const UINT msg = message.Msg;
    if (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) {
        return OnKeyboard(control, message);
    }
    if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) {
        return OnControlColor(message);
    }
    switch (msg) {
    case WM_SIZE:
        return OnSize(control, message);
    case WM_SETFOCUS:
        return OnSetFocus(control, message);
    case WM_CLOSE:
        return OnClose(control, message);
    case WM_SHOWWINDOW:
        return OnShowWindow(control, message);
    case WM_SETCURSOR:
        return OnSetCursor(control, message);
    case WM_NCDESTROY:
        return OnNcDestroy(control, message);
    case WM_COMMAND:
        return OnCommand(control, message);
    case WM_SYSCOMMAND:
        return OnSysCommand(control, message);
    case MM_MCINOTIFY:
    case MsgIgnored:
        return 0;
    case MsgRelease:
        return OnRelease(control);
    default:
        return CallDefault(control, message);
    }
}
