#pragma once

#include "platform/win32.h"

class TControl;

// Bits of TControl::NavigationKeys: keys a control gives away to focus movement.
constexpr unsigned NavTab = 1;
constexpr unsigned NavLeftRight = 2;
constexpr unsigned NavUpDown = 4;
constexpr unsigned NavPage = 8;

// The control itself when it is not a child control, else its nearest such ancestor; null
// when the chain of parents ends first.
TControl* OwningForm(TControl* control);

// Whether the control is the program's main window.
bool IsMainWindow(TControl* control);

// Gives the focus to the control when it is enabled and a tab stop.
bool TakeFocus(TControl* control);

// Moves the focus of a form to the next (+1) or previous (-1) tab stop by tab order, wrapping.
void MoveFocus(TControl* form, int direction);

// A form's navigation hook: Tab, arrows and page keys move the focus when the control gives
// them away. notKeyPress is set for key-up and system key messages, which are only swallowed.
bool HandleNavigationKey(TControl* control, UINT key, bool notKeyPress);
