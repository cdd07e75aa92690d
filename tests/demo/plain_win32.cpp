// A plain Win32 program, as it would be written for Windows: nothing but Win32 calls (no call
// into the layer's own interfaces, no test driver). A popup with a label, a list box of a few
// items and a button, pumped by a PeekMessageA loop that sleeps between calls and never waits
// for messages. Its windows must show on the display of their own accord, painted, as on
// Windows. It ends with 0 when asked to close (the window manager's close button, or the
// button on the popup), and with 2 when its time ran out unasked.
// Usage: plain_win32 [SECONDS]   (the time it runs at most, 20 unless given)
// Driven by tests/smoke/plain_win32.sh.

#include "platform/win32.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace {

constexpr int kLabelId = 201;
constexpr int kListId = 202;
constexpr int kButtonId = 203;

LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) {
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_CLOSE:
        std::printf("close requested\n");
        std::fflush(stdout);
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND AddControl(HWND popup, const char* className, const char* text, DWORD style, int id,
                RECT place, DWORD exStyle = 0) {
    HWND control = CreateWindowExA(
        exStyle, className, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
        place.right - place.left, place.bottom - place.top, popup,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (control != nullptr) {
        SendMessageA(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    }
    return control;
}

// The popup's client area is 320 by 200 at 100, 100 on the screen: the label at 12, 12, the
// list box at 12, 36 sized 180 by 150, the button at 210, 36 sized 96 by 28.
HWND CreatePopup() {
    WNDCLASSA popupClass{};
    popupClass.lpfnWndProc = PopupProc;
    popupClass.hInstance = GetModuleHandleA(nullptr);
    popupClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    popupClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    popupClass.lpszClassName = "PlainWin32Popup";
    if (RegisterClassA(&popupClass) == 0) {
        return nullptr;
    }
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT outer{0, 0, 320, 200};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    HWND popup =
        CreateWindowExA(0, "PlainWin32Popup", "Plain Win32", style, 100 + outer.left,
                        100 + outer.top, outer.right - outer.left, outer.bottom - outer.top,
                        nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (popup == nullptr) {
        return nullptr;
    }
    AddControl(popup, "STATIC", "Tracks:", SS_LEFT, kLabelId, RECT{12, 12, 192, 30});
    HWND list = AddControl(popup, "LISTBOX", "", WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, kListId,
                           RECT{12, 36, 192, 186}, WS_EX_CLIENTEDGE);
    for (const char* item : {"Morning", "Noon", "Evening"}) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    AddControl(popup, "BUTTON", "Close", BS_PUSHBUTTON | WS_TABSTOP, kButtonId,
               RECT{210, 36, 306, 64});
    return popup;
}

} // namespace

int main(int argc, char** argv) {
    const DWORD limitMs = static_cast<DWORD>(argc > 1 ? std::atoi(argv[1]) : 20) * 1000;
    HWND popup = CreatePopup();
    if (popup == nullptr) {
        std::fprintf(stderr, "Cannot create the popup (error %lu)\n",
                     static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    // No UpdateWindow: the first painting comes through the loop below, as WM_PAINT.
    ShowWindow(popup, SW_SHOW);
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            if (message.message == WM_QUIT) {
                return static_cast<int>(message.wParam);
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (GetTickCount() - start >= limitMs) {
            std::printf("time is up\n");
            DestroyWindow(popup);
            return 2;
        }
        Sleep(20);
    }
}
