#pragma once

// The fixture of the LISTBOX tests: a visible parent whose messages are recorded, and lists of
// items on it whose own messages are recorded too.

#include "tests/platform/user32/MessageSequence.h"
#include "tests/support/TestSession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

constexpr WORD ListId = 55;
// The font a control draws with while none was set: Windows documents the system font; our
// layer's controls use the default GUI font (docs/WINE.md).
inline HGDIOBJ DefaultControlFont() {
    return GetStockObject(testsession::RunningOnOwnLayer() ? DEFAULT_GUI_FONT : SYSTEM_FONT);
}

// Items are one line of the default control font tall.
inline int ItemHeight() {
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, DefaultControlFont());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}
// The list shows exactly this many whole items.
constexpr int PageItems = 6;

inline LPARAM Text(const char* text) {
    return reinterpret_cast<LPARAM>(text);
}

class ListBoxTest : public testing::Test {
protected:
    void SetUp() override {
        testsession::Reset();
        sequence::RegisterRecordingClass();
        sequence::IgnorePainting();
        parent =
            CreateWindowExA(0, sequence::RecordingClass, "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        sequence::SetParentWindow(parent);
    }
    void TearDown() override { testsession::Reset(); }

    HWND MakeList(DWORD style, int items = 0) {
        const HWND list = CreateWindowExA(
            WS_EX_NOPARENTNOTIFY, "LISTBOX", "", WS_CHILD | WS_VISIBLE | style, 10, 10, 120,
            PageItems * ItemHeight(), parent,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ListId)), nullptr, nullptr);
        EXPECT_NE(list, nullptr);
        for (int i = 0; i < items; ++i) {
            const std::string text = "item " + std::to_string(i);
            SendMessageA(list, LB_ADDSTRING, 0, Text(text.c_str()));
        }
        sequence::RecordWindow(list);
        testsession::PumpUntilIdle();
        sequence::Clear();
        return list;
    }

    static sequence::Expected Command(HWND list, int code) {
        return {WM_COMMAND, sequence::Sent | sequence::Parent | sequence::WParam | sequence::LParam,
                MAKEWPARAM(ListId, code), reinterpret_cast<LPARAM>(list)};
    }

    // Client y of the middle of a visible item.
    static int RowY(HWND list, int index) {
        return (index - static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0))) * ItemHeight() +
               ItemHeight() / 2;
    }

    static std::vector<int> Selected(HWND list) {
        std::vector<int> selected;
        const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            if (SendMessageA(list, LB_GETSEL, i, 0) > 0) {
                selected.push_back(i);
            }
        }
        return selected;
    }

    // Notification codes the parent received from the list, in order.
    std::vector<int> Notifications() const {
        std::vector<int> codes;
        for (const sequence::Recorded& entry : sequence::Log()) {
            if (entry.Message == WM_COMMAND && entry.Window == parent) {
                codes.push_back(HIWORD(entry.WParamValue));
            }
        }
        return codes;
    }

    static std::string ItemText(HWND list, int index) {
        char buffer[64] = {};
        SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    HWND parent = nullptr;
};
