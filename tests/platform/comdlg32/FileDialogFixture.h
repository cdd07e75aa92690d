#pragma once

// Shared by the file dialog tests: a temporary folder tree, a record set up as the toolkit sets
// it, and ways to find the running dialog and its controls.

#include "platform/posix/comdlg32/comdlg_dialog.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "tests/support/ReadBack.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace filedialog {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempTree {
public:
    TempTree() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "filedialog-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            root = pattern;
        }
    }
    ~TempTree() {
        std::error_code error;
        std::filesystem::remove_all(root, error);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& Root() const { return root; }
    std::string Path(const std::string& relative) const { return root + "/" + relative; }
    void File(const std::string& relative) const { std::ofstream(Path(relative)) << "x"; }
    void Folder(const std::string& relative) const {
        std::filesystem::create_directories(Path(relative));
    }

private:
    std::string root;
};

// A record with a buffer of the given size holding the start name.
struct Request {
    explicit Request(std::size_t size = 262, const std::string& start = {}) : buffer(size, '\0') {
        start.copy(buffer.data(), std::min(start.size(), size));
        ofn.lStructSize = sizeof(OPENFILENAMEA);
        ofn.lpstrFile = buffer.data();
        ofn.nMaxFile = static_cast<DWORD>(size);
    }
    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;
    // The text up to the first NUL.
    std::string File() const { return std::string(buffer.data()); }
    // The text up to the first pair of NULs, without the last NUL.
    std::string List() const {
        std::string text(buffer.data(), buffer.size());
        return text.substr(0, text.find(std::string(2, '\0')));
    }

    std::vector<char> buffer;
    OPENFILENAMEA ofn{};
};

inline std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

inline HWND FindTopLevel(const char* className) {
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (readback::ClassName(window) == className && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

inline HWND FindDialog() {
    return FindTopLevel(posix::comdlg::DialogClassName);
}

inline HWND FindMessageBox() {
    return FindTopLevel("#32770");
}

inline HWND Control(HWND dialog, int id) {
    for (HWND child : Children(dialog)) {
        if (GetWindowLongA(child, GWL_ID) == id) {
            return child;
        }
    }
    return nullptr;
}

// The centre of the list item that shows this text; fails the test when there is none.
inline POINT ItemPoint(HWND list, const std::string& text) {
    const std::vector<std::string> items = readback::ListItems(list);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == text) {
            RECT rect{};
            SendMessageA(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect));
            return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        }
    }
    ADD_FAILURE() << "no item " << text;
    return {-100, -100};
}

inline void ClickItem(HWND list, const std::string& text) {
    const POINT at = ItemPoint(list, text);
    testdriver::Click(list, at.x, at.y);
}

inline void DoubleClickItem(HWND list, const std::string& text) {
    const POINT at = ItemPoint(list, text);
    testdriver::DoubleClick(list, at.x, at.y);
}

inline void ClickButton(HWND dialog, int id) {
    testdriver::Click(Control(dialog, id), 5, 5);
}

} // namespace filedialog
