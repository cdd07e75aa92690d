// A small form with a button, a label and a list box, a plain Win32 program: its windows
// appear on the display as on Windows. It prints every WM_COMMAND notification it gets, one a
// line, so a script can drive it and check what arrived.

#include "platform/win32.h"

#include <cstdio>
#include <initializer_list>

namespace {

constexpr int kButtonId = 101;
constexpr int kLabelId = 102;
constexpr int kListId = 103;

const char* NotificationName(int id, int code) {
    if (id == kButtonId && code == BN_CLICKED) {
        return "BN_CLICKED";
    }
    if (id == kListId && code == LBN_SELCHANGE) {
        return "LBN_SELCHANGE";
    }
    if (id == kListId && code == LBN_DBLCLK) {
        return "LBN_DBLCLK";
    }
    if (id == kListId && code == LBN_SETFOCUS) {
        return "LBN_SETFOCUS";
    }
    if (id == kListId && code == LBN_KILLFOCUS) {
        return "LBN_KILLFOCUS";
    }
    return "other";
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        std::printf("WM_COMMAND id=%d code=%d %s\n", id, code, NotificationName(id, code));
        std::fflush(stdout);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND AddControl(HWND form, const char* className, const char* text, DWORD style, int id, RECT place,
                DWORD exStyle = 0) {
    HWND control = CreateWindowExA(
        exStyle, className, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
        place.right - place.left, place.bottom - place.top, form,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    return control;
}

// The list shows whole items only, and the form ends a margin below it.
void FitListAndForm(HWND form, HWND list) {
    constexpr int margin = 12;
    constexpr int rows = 11;
    const int itemHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    RECT place{};
    GetWindowRect(list, &place);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&place), 2);
    const int edges = 2 * GetSystemMetrics(SM_CYEDGE);
    place.bottom = place.top + rows * itemHeight + edges;
    SetWindowPos(list, nullptr, 0, 0, place.right - place.left, place.bottom - place.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT outer{0, 0, 296 + margin, place.bottom + margin};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(form, GWL_STYLE)), FALSE, 0);
    SetWindowPos(form, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
}

HWND CreateForm() {
    WNDCLASSA formClass{};
    formClass.lpfnWndProc = FormProc;
    formClass.hInstance = GetModuleHandleA(nullptr);
    formClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    formClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    formClass.lpszClassName = "ControlsDemoForm";
    if (RegisterClassA(&formClass) == 0) {
        return nullptr;
    }
    HWND form = CreateWindowExA(0, "ControlsDemoForm", "Controls demo",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 100, 100,
                                320, 240, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (form == nullptr) {
        return nullptr;
    }
    AddControl(form, "STATIC", "Pick a track:", SS_LEFT, kLabelId, RECT{12, 12, 200, 30});
    HWND list = AddControl(form, "LISTBOX", "", WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, kListId,
                           RECT{12, 34, 200, 180}, WS_EX_CLIENTEDGE);
    for (const char* item : {"First track", "Second track", "Third track", "Fourth track",
                             "Fifth track", "Sixth track", "Seventh track", "Eighth track",
                             "Ninth track", "Tenth track", "Eleventh track", "Twelfth track"}) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    AddControl(form, "BUTTON", "&Play", BS_DEFPUSHBUTTON | WS_TABSTOP, kButtonId,
               RECT{212, 34, 296, 60});
    FitListAndForm(form, list);
    return form;
}

} // namespace

int main() {
    HWND form = CreateForm();
    if (form == nullptr) {
        std::fprintf(stderr, "Cannot create the form (error %lu)\n",
                     static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    // The program's icon reaches the native window through WM_SETICON.
    SendMessageA(form, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(GetModuleHandleA(nullptr), "ICON0")));
    ShowWindow(form, SW_SHOW);
    UpdateWindow(form);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // The session ends (the display went away) with the form still open.
    if (IsWindow(form)) {
        DestroyWindow(form);
    }
    return static_cast<int>(message.wParam);
}
