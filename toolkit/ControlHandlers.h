#pragma once

#include "toolkit/WindowMessage.h"

// Handlers attached to controls. Each answers true when it handled the message (and set the
// result); false lets the next handler and then the built-in rules see it.

// Every button, static text and list box: focus bookkeeping, reflected notifications as
// control events, reflected WM_CTLCOLOR* as the control's own colours.
bool StandardControlHandler(TControl* control, WindowMessage& message, LRESULT& result);
// Every form: focus goes to the last focused child; end of session.
bool FormHandler(TControl* control, WindowMessage& message, LRESULT& result);
// Every form, after FormHandler: erases the background with the form's brush.
bool FormEraseHandler(TControl* control, WindowMessage& message, LRESULT& result);
// The application control: focus goes to the last active form; close from the taskbar.
bool AppHandler(TControl* control, WindowMessage& message, LRESULT& result);

// Attached by the event setters.
bool MouseEventHandler(TControl* control, WindowMessage& message, LRESULT& result);
bool HoverHandler(TControl* control, WindowMessage& message, LRESULT& result);
bool ShowHideHandler(TControl* control, WindowMessage& message, LRESULT& result);
bool ResizeHandler(TControl* control, WindowMessage& message, LRESULT& result);
// Put into KeyHook once a key event is set.
bool KeyEventHandler(TControl* control, WindowMessage& message, LRESULT& result);
