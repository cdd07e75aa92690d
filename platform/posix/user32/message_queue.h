#pragma once

// The message queue of the one GUI thread, as the other modules of the layer reach it.

#include "platform/win32.h"

namespace posix {

// Calls the window's procedure; 0 for a window that does not exist. Unlike SendMessageA it is
// not recorded by the test driver: the layer's own messages go through here.
LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Places a message before every other posted one (the characters TranslateMessage makes).
void PostAtFront(const MSG& msg);

// Drops the posted messages of a window that is being destroyed.
void ForgetMessagesOf(HWND window);

// Something can be retrieved now: a posted message, WM_QUIT, input, WM_PAINT, a due timer, or
// the end of the session.
bool SomethingToRetrieve();

// Waits until something can be retrieved. Under the virtual clock it never sleeps: with
// scripted set it runs the next idle step of the test driver or moves the clock to the next
// due timer. Answers false when nothing can ever arrive.
bool WaitForMessages(bool scripted);

// DispatchMessageA is delivering a message (drawing done meanwhile is presented when the
// message has been handled).
bool DispatchingMessage();

void ResetMessageQueue();

} // namespace posix
