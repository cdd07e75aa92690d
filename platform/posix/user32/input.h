#pragma once

// The input queue. Raw mouse and keyboard events come in from the display backend or the
// test driver (raw_input.h); they become WM_* messages only when the queue takes them, by hit
// testing, capture and focus at that moment, as in Win32.

#include "platform/posix/user32/message_filter.h"
#include "platform/posix/user32/raw_input.h"

namespace posix {

bool HasInput();

// The message of the first waiting input event, if it matches the filter. With remove, the
// event is taken: the key state follows it and a click activates the window's top-level
// window (WM_MOUSEACTIVATE), sets the cursor (WM_SETCURSOR) and may be eaten.
bool TakeInputMessage(const MessageFilter& filter, bool remove, MSG* msg);

// The character a key-down message types with the present key state, or 0.
int CharacterOfKey(int virtualKey, LPARAM lParam);

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
