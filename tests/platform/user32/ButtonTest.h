#pragma once

// The fixture of the BUTTON tests: a visible parent whose messages are recorded, and buttons on
// it whose own messages are recorded too, made either of the system class or of a class of
// another name that takes the system procedure from GetClassInfoA and calls it through
// CallWindowProcA, the way the toolkit derives its controls.

#include "tests/platform/user32/MessageSequence.h"
#include "tests/support/TestSession.h"

#include <gtest/gtest.h>

constexpr WORD ButtonId = 101;

inline WNDPROC systemButtonProc = nullptr;

inline LRESULT CALLBACK DerivedButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(systemButtonProc, window, message, wParam, lParam);
}

inline void RegisterDerivedButton() {
    WNDCLASSA derived{};
    ASSERT_TRUE(GetClassInfoA(nullptr, "BUTTON", &derived));
    systemButtonProc = derived.lpfnWndProc;
    derived.lpfnWndProc = DerivedButtonProc;
    derived.lpszClassName = "DerivedButton";
    ASSERT_NE(RegisterClassA(&derived), 0);
}

inline LPARAM Point(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

class ButtonTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        testsession::Reset();
        sequence::RegisterRecordingClass();
        sequence::IgnorePainting();
        RegisterDerivedButton();
        parent =
            CreateWindowExA(0, sequence::RecordingClass, "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            100, 100, 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        sequence::SetParentWindow(parent);
    }
    void TearDown() override { testsession::Reset(); }

    HWND MakeButton(DWORD style = BS_PUSHBUTTON) {
        const HWND button = CreateWindowExA(
            WS_EX_NOPARENTNOTIFY, GetParam(), "OK", WS_CHILD | WS_VISIBLE | style, 10, 10, 80, 24,
            parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ButtonId)), nullptr, nullptr);
        EXPECT_NE(button, nullptr);
        sequence::RecordWindow(button);
        testsession::PumpUntilIdle();
        sequence::Clear();
        return button;
    }

    static sequence::Expected Command(HWND button, int code) {
        return {WM_COMMAND, sequence::Sent | sequence::Parent | sequence::WParam | sequence::LParam,
                MAKEWPARAM(ButtonId, code), reinterpret_cast<LPARAM>(button)};
    }

    HWND parent = nullptr;
};
