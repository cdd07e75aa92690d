#include "platform/posix/user32/modal_window.h"

namespace posix {

bool EnsureModalClass(const char* name, WNDPROC procedure) {
    WNDCLASSA wndClass{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &wndClass)) {
        return true;
    }
    wndClass.lpfnWndProc = procedure;
    wndClass.cbWndExtra = sizeof(LONG_PTR);
    wndClass.hInstance = GetModuleHandleA(nullptr);
    wndClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wndClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wndClass.lpszClassName = name;
    return RegisterClassA(&wndClass) != 0;
}

bool RunModalLoop(HWND window, const std::function<bool()>& done) {
    MSG msg{};
    while (!done()) {
        if (!IsWindow(window)) {
            return false;
        }
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

} // namespace posix
