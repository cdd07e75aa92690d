#include "toolkit/TNyToolTip.h"

#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

namespace {

using InitCommonControlsExProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

// InitCommonControls registers the tooltip class by itself; InitCommonControlsEx is called as
// well where the library has it. The library stays loaded.
void InitToolTipClass() {
    InitCommonControls();
    static HMODULE library = LoadLibraryA("comctl32.dll");
    if (library == nullptr) {
        return;
    }
    FARPROC entry = GetProcAddress(library, "InitCommonControlsEx");
    if (entry == nullptr) {
        return;
    }
    const auto initEx =
        reinterpret_cast<InitCommonControlsExProc>(reinterpret_cast<void (*)()>(entry));
    const INITCOMMONCONTROLSEX classes = {sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    initEx(&classes);
}

HWND ApplicationWindow() {
    return MainControl != nullptr ? MainControl->Handle : nullptr;
}

} // namespace

TNyToolTip::~TNyToolTip() {
    if (Handle != nullptr && IsWindow(Handle)) {
        DestroyWindow(Handle);
    }
}

TNyToolTip* NewToolTip() {
    InitToolTipClass();
    TNyToolTip* toolTip = TNyToolTip::Created(new TNyToolTip);
    toolTip->Handle = CreateWindowExA(
        0, TOOLTIPS_CLASSA, "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
        CW_USEDEFAULT, ApplicationWindow(), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (toolTip->Handle != nullptr) {
        SetWindowPos(toolTip->Handle, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    }
    return toolTip;
}
