// The single-line EDIT control: typing and editing keys with the selection they leave, the
// selection messages, the text limit and the notifications of change and focus.

#include "platform/testing.h"
#include "tests/platform/user32/MessageSequence.h"
#include "tests/support/ReadBack.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace sequence;

constexpr WORD EditId = 31;

class EditTest : public testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        RegisterRecordingClass();
        IgnorePainting();
        parent = CreateWindowExA(0, RecordingClass, "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        SetParentWindow(parent);
    }
    void TearDown() override { testdriver::Reset(); }

    HWND MakeEdit(DWORD style = 0, const char* text = "") {
        const HWND edit = CreateWindowExA(
            WS_EX_NOPARENTNOTIFY, "EDIT", text, WS_CHILD | WS_VISIBLE | style, 10, 10, 150, 20,
            parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(EditId)), nullptr, nullptr);
        EXPECT_NE(edit, nullptr);
        RecordWindow(edit);
        testdriver::PumpUntilIdle();
        Clear();
        return edit;
    }

    static Expected Command(HWND edit, int code) {
        return {WM_COMMAND, Sent | Parent | WParam | LParam, MAKEWPARAM(EditId, code),
                reinterpret_cast<LPARAM>(edit)};
    }

    static std::pair<DWORD, DWORD> Selection(HWND edit) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    std::vector<int> Notifications() const {
        std::vector<int> codes;
        for (const Recorded& entry : Log()) {
            if (entry.Message == WM_COMMAND && entry.Window == parent) {
                codes.push_back(HIWORD(entry.WParamValue));
            }
        }
        return codes;
    }

    HWND parent = nullptr;
};

void WithShift(const std::function<void()>& keys) {
    testdriver::KeyDown(VK_SHIFT);
    keys();
    testdriver::KeyUp(VK_SHIFT);
}

TEST_F(EditTest, TypingACharacterReportsUpdateThenChange) {
    const HWND edit = MakeEdit();
    SetFocus(edit);
    Clear();
    testdriver::TypeText("a");
    const Expected expected[] = {
        {WM_KEYDOWN, Posted},     {WM_CHAR, Posted | WParam, 'a'},
        Command(edit, EN_UPDATE), Command(edit, EN_CHANGE),
        {WM_KEYUP, Posted},
    };
    ExpectSequence(expected, "typing one letter");
    EXPECT_EQ(readback::WindowText(edit), "a");
}

TEST_F(EditTest, EditingKeysLeaveTextAndSelection) {
    const HWND edit = MakeEdit();
    SetWindowTextA(edit, "hello world");
    SetFocus(edit);
    struct Step {
        const char* Action;
        std::function<void()> Keys;
        const char* Text;
        DWORD Start;
        DWORD End;
    };
    const auto press = [](int key) { return [key] { testdriver::PressKey(key); }; };
    const auto shifted = [](int key, int times) {
        return [key, times] {
            WithShift([&] {
                for (int i = 0; i < times; ++i) {
                    testdriver::PressKey(key);
                }
            });
        };
    };
    const Step steps[] = {
        {"set text", [] {}, "hello world", 0, 0},
        {"End", press(VK_END), "hello world", 11, 11},
        {"Shift+Left twice", shifted(VK_LEFT, 2), "hello world", 9, 11},
        {"type X over the selection", [] { testdriver::TypeText("X"); }, "hello worX", 10, 10},
        {"Home", press(VK_HOME), "hello worX", 0, 0},
        {"Delete", press(VK_DELETE), "ello worX", 0, 0},
        {"Shift+End", shifted(VK_END, 1), "ello worX", 0, 9},
        {"Backspace over the selection", press(VK_BACK), "", 0, 0},
        {"Backspace at the start", press(VK_BACK), "", 0, 0},
        {"type ab", [] { testdriver::TypeText("ab"); }, "ab", 2, 2},
        {"Left", press(VK_LEFT), "ab", 1, 1},
        {"Backspace", press(VK_BACK), "b", 0, 0},
        {"Right past the end",
         [] {
             testdriver::PressKey(VK_RIGHT);
             testdriver::PressKey(VK_RIGHT);
         },
         "b", 1, 1},
        {"Delete at the end", press(VK_DELETE), "b", 1, 1},
        {"Shift+Home", shifted(VK_HOME, 1), "b", 0, 1},
        {"Shift+Right back to the anchor", shifted(VK_RIGHT, 1), "b", 1, 1},
        {"Enter, Tab and Escape are no text",
         [] {
             testdriver::PressKey(VK_RETURN);
             testdriver::PressKey(VK_TAB);
             testdriver::PressKey(VK_ESCAPE);
         },
         "b", 1, 1},
    };
    for (const Step& step : steps) {
        step.Keys();
        EXPECT_EQ(readback::WindowText(edit), step.Text) << step.Action;
        EXPECT_EQ(Selection(edit), std::make_pair(step.Start, step.End)) << step.Action;
    }
}

// "\xC3\xA9" is one character in UTF-8; in text that is not UTF-8 every byte is a character.
TEST_F(EditTest, KeysStepOverWholeUtf8Characters) {
    struct Case {
        const char* Text;
        std::vector<DWORD> CaretsGoingLeft; // from the end to the start
        const char* AfterBackspaceAtEnd;
    };
    const Case cases[] = {
        {"a\xC3\xA9z", {3, 1, 0}, "a\xC3\xA9"},
        {"a\xC3\xA9", {1, 0}, "a"},
        {"\xE0\xE1", {1, 0}, "\xE0"},
        {"\xE2\x82\xAC\xF0\x9F\x8E\xB5", {3, 0}, "\xE2\x82\xAC"},
    };
    const HWND edit = MakeEdit();
    SetFocus(edit);
    for (const Case& test : cases) {
        SetWindowTextA(edit, test.Text);
        testdriver::PressKey(VK_END);
        for (const DWORD caret : test.CaretsGoingLeft) {
            testdriver::PressKey(VK_LEFT);
            EXPECT_EQ(Selection(edit), std::make_pair(caret, caret)) << test.Text;
        }
        testdriver::PressKey(VK_RIGHT);
        const DWORD first = test.CaretsGoingLeft[test.CaretsGoingLeft.size() - 2];
        EXPECT_EQ(Selection(edit), std::make_pair(first, first)) << test.Text;
        testdriver::PressKey(VK_END);
        testdriver::PressKey(VK_BACK);
        EXPECT_EQ(readback::WindowText(edit), test.AfterBackspaceAtEnd) << test.Text;
        testdriver::PressKey(VK_HOME);
        testdriver::PressKey(VK_DELETE);
        const std::string afterBackspace = test.AfterBackspaceAtEnd;
        EXPECT_EQ(readback::WindowText(edit), afterBackspace.substr(first)) << test.Text;
    }
}

TEST_F(EditTest, SetSelFollowsTheWin32Rules) {
    const HWND edit = MakeEdit(0, "0123456789");
    struct Case {
        WPARAM Start;
        LPARAM End;
        DWORD WantStart;
        DWORD WantEnd;
        const char* TypedResult; // the text after typing "x" over the selection
    };
    const Case cases[] = {
        {0, -1, 0, 10, "x"},
        {2, 5, 2, 5, "01x56789"},
        {5, 2, 2, 5, "01x56789"},
        {8, 100, 8, 10, "01234567x"},
        {100, 200, 10, 10, "0123456789x"},
        {3, 3, 3, 3, "012x3456789"},
    };
    for (const Case& test : cases) {
        SetWindowTextA(edit, "0123456789");
        SendMessageA(edit, EM_SETSEL, test.Start, test.End);
        EXPECT_EQ(Selection(edit), std::make_pair(test.WantStart, test.WantEnd))
            << test.Start << ", " << test.End;
        EXPECT_EQ(SendMessageA(edit, EM_GETSEL, 0, 0), MAKELONG(test.WantStart, test.WantEnd));
        SendMessageA(edit, WM_CHAR, 'x', 0);
        EXPECT_EQ(readback::WindowText(edit), test.TypedResult) << test.Start << ", " << test.End;
    }
    // Start -1 only drops the selection; the caret stays at the moving end.
    SetWindowTextA(edit, "0123456789");
    SendMessageA(edit, EM_SETSEL, 6, 2);
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{2}, DWORD{2}));
}

TEST_F(EditTest, TheLimitStopsTypingButNotSetText) {
    const HWND edit = MakeEdit();
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 30000);
    SendMessageA(edit, EM_LIMITTEXT, 3, 0);
    SetFocus(edit);
    Clear();
    testdriver::TypeText("abcd");
    EXPECT_EQ(readback::WindowText(edit), "abc");
    EXPECT_EQ(Notifications(), (std::vector<int>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE,
                                                 EN_UPDATE, EN_CHANGE, EN_MAXTEXT}));
    SendMessageA(edit, EM_SETSEL, 1, 2);
    testdriver::TypeText("Z");
    EXPECT_EQ(readback::WindowText(edit), "aZc") << "replacing a selection fits";
    SendMessageA(edit, EM_SETSEL, 0, 0);
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("12345"));
    EXPECT_EQ(readback::WindowText(edit), "aZc") << "nothing fits";
    SetWindowTextA(edit, "longer than the limit");
    EXPECT_EQ(readback::WindowText(edit), "longer than the limit");
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(EditTest, TextMessagesCopyWhatFitsAndReplaceSelCutsToTheLimit) {
    const HWND edit = MakeEdit(0, "initial");
    char buffer[5] = {'?', '?', '?', '?', '?'};
    EXPECT_EQ(SendMessageA(edit, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 4);
    EXPECT_STREQ(buffer, "init");
    EXPECT_EQ(SendMessageA(edit, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 7);
    EXPECT_EQ(GetWindowTextLengthA(edit), 7);
    Clear();
    EXPECT_EQ(SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("new")), TRUE);
    EXPECT_EQ(Notifications(), (std::vector<int>{EN_UPDATE, EN_CHANGE}));
    SendMessageA(edit, EM_LIMITTEXT, 5, 0);
    SendMessageA(edit, EM_SETSEL, 3, 3);
    Clear();
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("abcdef"));
    EXPECT_EQ(readback::WindowText(edit), "newab");
    EXPECT_EQ(Notifications(), (std::vector<int>{EN_MAXTEXT, EN_UPDATE, EN_CHANGE}));
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{5}, DWORD{5}));
    SendMessageA(edit, WM_SETTEXT, 0, 0);
    EXPECT_EQ(GetWindowTextLengthA(edit), 0);
}

TEST_F(EditTest, ClickTakesTheFocusAndFocusChangesNotify) {
    const HWND edit = MakeEdit();
    testdriver::Click(edit, 5, 5);
    EXPECT_EQ(GetFocus(), edit);
    SetFocus(parent);
    EXPECT_EQ(Notifications(), (std::vector<int>{EN_SETFOCUS, EN_KILLFOCUS}));
}

TEST_F(EditTest, ReadOnlyEditsIgnoreTypingAndDeleting) {
    const HWND edit = MakeEdit(ES_READONLY, "fixed");
    SetFocus(edit);
    Clear();
    testdriver::TypeText("x");
    testdriver::PressKey(VK_BACK);
    testdriver::PressKey(VK_HOME);
    testdriver::PressKey(VK_DELETE);
    EXPECT_EQ(readback::WindowText(edit), "fixed");
    EXPECT_TRUE(Notifications().empty());
    SendMessageA(edit, EM_SETSEL, 0, 2);
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("F"));
    EXPECT_EQ(readback::WindowText(edit), "Fxed") << "programs may still change the text";
}

} // namespace
