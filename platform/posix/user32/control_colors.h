#pragma once

// The colours controls draw with, chosen by their parent through WM_CTLCOLOR* messages.

#include "platform/win32.h"

namespace posix {

// What DefWindowProcA answers a WM_CTLCOLOR* message with: edits and list boxes draw in the
// window colours, everything else in the button face colours. Sets the text and background
// colours on the context and returns the system colour brush of the background.
HBRUSH DefaultControlColors(UINT message, HDC dc);

// Asks the control's parent for the colours to draw with (message is the WM_CTLCOLOR* of the
// control's kind). The context keeps the text colour, background colour and mode the parent
// set; the brush is the parent's answer, or the default one when the parent answers 0.
HBRUSH ControlColors(HWND control, HDC dc, UINT message);

} // namespace posix
