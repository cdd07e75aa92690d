#include "tests/support/ReadBack.h"

#include <algorithm>

namespace readback {

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::clamp(copied, 0, std::max(length, 0))));
    return text;
}

std::string ClassName(HWND window) {
    char name[256] = {};
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, static_cast<std::size_t>(std::max(length, 0)));
}

DWORD Style(HWND window) {
    return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
}

DWORD ExStyle(HWND window) {
    return static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool IsVisible(HWND window) {
    return IsWindowVisible(window) != FALSE;
}

bool IsEnabled(HWND window) {
    return IsWindowEnabled(window) != FALSE;
}

HWND Focus() {
    return GetFocus();
}

HWND ActiveWindow() {
    return GetActiveWindow();
}

HWND Capture() {
    return GetCapture();
}

std::vector<std::string> ListItems(HWND listBox) {
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(listBox, LB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        const LRESULT length = SendMessageA(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        std::string text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
        const LRESULT copied = SendMessageA(listBox, LB_GETTEXT, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
        items.push_back(std::move(text));
    }
    return items;
}

int CurrentItem(HWND listBox) {
    const LRESULT current = SendMessageA(listBox, LB_GETCURSEL, 0, 0);
    return current < 0 ? -1 : static_cast<int>(current);
}

} // namespace readback
