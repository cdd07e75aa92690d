#pragma once

class TControl;

// Runs the application: makes the windows of mainControl and its children, dispatches
// messages until WM_QUIT, then shuts down and frees mainControl (the reference is cleared).
void RunMessageLoop(TControl*& mainControl);

// Dispatches every queued message.
void PumpMessages(TControl* control);

// Takes one queued message and dispatches it (WM_QUIT ends the loop instead). False when
// nothing was queued or the message number was 0.
bool ProcessOneMessage(TControl* control);

// Ends the application: frees the application control with every window and child control.
// Pending messages are dispatched first and a close is sent when the loop was not ended by
// WM_QUIT.
void ShutdownMainControl(TControl*& mainControl);
