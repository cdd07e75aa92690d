#include "platform/posix/user32/controls/control_common.h"

namespace posix {

void NotifyParent(HWND control, int code) {
    HWND parent = GetParent(control);
    if (parent == nullptr) {
        return;
    }
    const WORD id = static_cast<WORD>(GetWindowLongA(control, GWL_ID));
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, static_cast<WORD>(code)),
                 reinterpret_cast<LPARAM>(control));
}

} // namespace posix
