// Control colours: the defaults and the question to the parent.

#include "platform/posix/user32/control_colors.h"

#include "platform/posix/user32/message_queue.h"

namespace posix {

HBRUSH DefaultControlColors(UINT message, HDC dc) {
    const bool windowColours = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    const int background = windowColours ? COLOR_WINDOW : COLOR_BTNFACE;
    if (message == WM_CTLCOLORSCROLLBAR) {
        SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
        SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        return GetSysColorBrush(COLOR_SCROLLBAR);
    }
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(background));
    return GetSysColorBrush(background);
}

HBRUSH ControlColors(HWND control, HDC dc, UINT message) {
    const HWND parent = GetParent(control);
    if (parent != nullptr) {
        const LRESULT answer = SendToWindow(parent, message, reinterpret_cast<WPARAM>(dc),
                                            reinterpret_cast<LPARAM>(control));
        if (answer != 0) {
            return reinterpret_cast<HBRUSH>(answer);
        }
    }
    return DefaultControlColors(message, dc);
}

} // namespace posix
