#pragma once

#include "platform/win32.h"

class TControl;

// One window message as it travels through a control's hooks and handlers. Handlers may
// change WParam (key codes, characters) for the steps after them.
struct WindowMessage {
    HWND Window = nullptr;
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
};

// An attached handler and the key hook: returns true when it handled the message, in which
// case it has set the result.
using MessageHandler = bool (*)(TControl* control, WindowMessage& message, LRESULT& result);

// A form's navigation hook: true when the key moved the focus or is to be swallowed.
using NavigationProc = bool (*)(TControl* control, UINT key, bool notKeyPress);

// Messages of the toolkit itself.
constexpr UINT MsgRelease = 0xB003;           // posted to a window to free its control later
constexpr UINT MsgReflectedCommand = 0xB005;  // WM_COMMAND sent back to the child that caused it
constexpr UINT ReflectedColorOffset = 0xBC00; // added to WM_CTLCOLOR* when sent on to the child
