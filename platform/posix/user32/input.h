#pragma once

// The input queue. Raw mouse and keyboard events come in from the display backend or the
// test driver; they become WM_* messages only when the queue takes them, by hit testing,
// capture and focus at that moment, as in Win32.

#include "platform/posix/user32/message_filter.h"

namespace posix {

enum class MouseKey { Left, Right, Middle };

// The cursor moves to a point on the screen.
void QueueMouseMove(POINT screen);
// A button goes down or up where the cursor is.
void QueueMouseButton(MouseKey button, bool down);
// The wheel turns by delta (WHEEL_DELTA per notch) where the cursor is.
void QueueMouseWheel(int delta);
// A key goes down or up. A VK_PACKET key carries the character it types.
void QueueKey(int virtualKey, bool down, BYTE character = 0);

bool HasInput();

// The message of the first waiting input event, if it matches the filter. With remove, the
// event is taken: the key state follows it and a click activates the window's top-level
// window (WM_MOUSEACTIVATE), sets the cursor (WM_SETCURSOR) and may be eaten.
bool TakeInputMessage(const MessageFilter& filter, bool remove, MSG* msg);

// The character a key-down message types with the present key state, or 0.
int CharacterOfKey(int virtualKey, LPARAM lParam);
// The key, and whether Shift is needed, that types an ASCII character on a US keyboard.
bool KeyForCharacter(unsigned char character, int* virtualKey, bool* shift);

struct HitResult {
    HWND Window = nullptr;
    LRESULT Code = HTNOWHERE;
};
// The window under a screen point, asking each candidate with WM_NCHITTEST: a window that
// answers HTTRANSPARENT passes the point on to what lies beneath it; disabled child windows
// are passed over (their parent gets the input); a disabled top-level window answers HTERROR.
HitResult HitTest(POINT screen);

// Mouse-leave tracking (_TrackMouseEvent).
void TrackMouseLeave(HWND window, bool nonClient);
void CancelMouseLeave(HWND window);
HWND MouseLeaveTracked(bool* nonClient);

void ForgetInputOf(HWND window);
void ResetInput();

} // namespace posix
