#include "toolkit/OwnText.h"

// The layer's ...A functions already read texts by the rule.

void SetOwnWindowText(HWND window, const std::string& text) {
    SetWindowTextA(window, text.c_str());
}

void StoreOwnCaption(HWND, const std::string&) {}

std::string OwnWindowText(HWND window, const std::string&) {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

int ShowOwnMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return MessageBoxA(owner, text, caption, type);
}

BOOL RunOwnFileDialog(OPENFILENAMEA& record, bool open) {
    return open ? GetOpenFileNameA(&record) : GetSaveFileNameA(&record);
}
