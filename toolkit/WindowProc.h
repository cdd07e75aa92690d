#pragma once

#include "platform/win32.h"
#include "toolkit/WindowMessage.h"

class TControl;

// Process-wide state of message dispatch. Everything runs on the one GUI thread.
extern TControl* MainControl;     // the application control; it runs the message loop
extern bool AppTerminated;        // the loop must end; attached handlers no longer run
extern bool LoopRunning;          // from the start of RunMessageLoop until shut-down
extern bool AppControlExists;     // set when the application control is made
extern TControl* CreatingControl; // control whose window is being created right now

// The window procedure of every class the toolkit registers. The first message of a new
// window binds it to CreatingControl; later ones find the control in the "SELF_" property.
LRESULT CALLBACK ClassWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// Name of the window property that holds a window's control.
constexpr const char* SelfProperty = "SELF_";

// Default processing: the standard class's own procedure for standard controls, else
// DefWindowProcA for the message's window.
LRESULT CallDefault(TControl* control, const WindowMessage& message);

// Adds a handler to the control's chain unless it is already there. Handlers run from the
// last attached to the first.
void AttachHandler(TControl* control, MessageHandler handler);

// Sends a message to the control's window, making the window first when there is none.
LRESULT SendToControl(TControl* control, UINT msg, WPARAM wParam, LPARAM lParam);
