#include "platform/posix/user32/system_classes.h"

#include "platform/posix/user32/controls/controls.h"
#include "platform/posix/user32/window_manager.h"

namespace {

struct SystemClass {
    const char* Name;
    WNDPROC Proc;
    UINT Style;
    LPCSTR Cursor;
};

const SystemClass systemClasses[] = {
    {"BUTTON", posix::ButtonWindowProc, posix::ButtonClassStyle, IDC_ARROW},
    {"STATIC", posix::StaticWindowProc, posix::StaticClassStyle, IDC_ARROW},
    {"LISTBOX", posix::ListBoxWindowProc, posix::ListBoxClassStyle, IDC_ARROW},
    {"EDIT", posix::EditWindowProc, posix::EditClassStyle, IDC_IBEAM},
    {TOOLTIPS_CLASSA, posix::ToolTipWindowProc, posix::ToolTipClassStyle, IDC_ARROW},
};

} // namespace

namespace posix {

void RegisterSystemClasses() {
    for (const SystemClass& entry : systemClasses) {
        WNDCLASSA wndClass{};
        wndClass.style = entry.Style | CS_GLOBALCLASS;
        wndClass.lpfnWndProc = entry.Proc;
        wndClass.cbWndExtra = ControlWindowExtra;
        wndClass.hCursor = LoadCursorA(nullptr, entry.Cursor);
        wndClass.lpszClassName = entry.Name;
        RegisterSystemClass(wndClass);
    }
}

} // namespace posix
