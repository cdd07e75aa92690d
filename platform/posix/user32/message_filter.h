#pragma once

// The window and message-number filter of PeekMessageA and GetMessageA.

#include "platform/win32.h"

namespace posix {

struct MessageFilter {
    HWND Window = nullptr; // null: any; (HWND)-1: messages without a window; else the window
                           // and its descendants
    UINT Min = 0;          // Min = Max = 0: every message number
    UINT Max = 0;

    bool Matches(HWND window, UINT message) const;
};

} // namespace posix
