// The LISTBOX control driven by input through the test driver: clicks, keys, the wheel and
// dragging, the notifications they send, and the selection rules of each style as state
// tables (POSIX only).

#include "platform/testing.h"
#include "tests/platform/user32/ListBoxTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace sequence;

TEST_F(ListBoxTest, ClickTakesFocusCapturesSelectsAndNotifiesOnRelease) {
    const HWND list = MakeList(LBS_NOTIFY, 10);
    const int y = 2 * ItemHeight() + 3;
    testdriver::MouseDown(list, 20, y);
    const Expected down[] = {
        {WM_MOUSEMOVE, Posted | Optional},
        {WM_LBUTTONDOWN, Posted},
        {WM_KILLFOCUS, Sent | Parent | WParam, reinterpret_cast<WPARAM>(list)},
        {WM_SETFOCUS, Sent | DefProc | WParam, reinterpret_cast<WPARAM>(parent)},
        Command(list, LBN_SETFOCUS),
    };
    ExpectSequence(down, "button down on item 2");
    EXPECT_EQ(GetCapture(), list);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    Clear();

    testdriver::MouseUp(list, 20, y);
    const Expected up[] = {
        {WM_MOUSEMOVE, Posted | Optional},
        {WM_LBUTTONUP, Posted},
        {WM_CAPTURECHANGED, Sent | DefProc | LParam, 0, 0},
        Command(list, LBN_SELCHANGE),
    };
    ExpectSequence(up, "button up");
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ListBoxTest, ArrowKeysNotifyOnTheKeyDownWhileSetCurSelDoesNot) {
    const HWND list = MakeList(LBS_NOTIFY, 10);
    SetFocus(list);
    SendMessageA(list, LB_SETCURSEL, 4, 0);
    Clear();
    testdriver::PressKey(VK_DOWN);
    const Expected expected[] = {
        {WM_KEYDOWN, Posted | WParam, VK_DOWN},
        Command(list, LBN_SELCHANGE),
        {WM_KEYUP, Posted | WParam, VK_DOWN},
    };
    ExpectSequence(expected, "down arrow");
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 5);
}

TEST_F(ListBoxTest, LosingTheFocusWhileTheButtonIsHeldReleasesAndNotifies) {
    const HWND list = MakeList(LBS_NOTIFY, 10);
    testdriver::MouseDown(list, 20, RowY(list, 1));
    Clear();
    SetFocus(parent);
    const Expected expected[] = {
        {WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(parent)},
        {WM_CAPTURECHANGED, Sent | DefProc},
        Command(list, LBN_SELCHANGE),
        Command(list, LBN_KILLFOCUS),
        {WM_SETFOCUS, Sent | Parent},
    };
    ExpectSequence(expected, "focus taken while the button is held");
    EXPECT_EQ(GetCapture(), nullptr);
    testdriver::MouseUp(list, 20, RowY(list, 1));
    EXPECT_EQ(Notifications(), std::vector<int>{}) << "the release sends nothing more";
}

TEST_F(ListBoxTest, NotificationsNeedLbsNotify) {
    struct Case {
        DWORD Style;
        std::vector<int> Codes;
    };
    const Case cases[] = {
        {0, {}},
        {LBS_NOTIFY, {LBN_SETFOCUS, LBN_SELCHANGE, LBN_DBLCLK, LBN_SELCHANGE, LBN_KILLFOCUS}},
    };
    for (const Case& test : cases) {
        const HWND list = MakeList(test.Style, 3);
        testdriver::DoubleClick(list, 20, RowY(list, 1));
        // Below the last item nothing is selected and a double click reports nothing.
        testdriver::DoubleClick(list, 20, 3 * ItemHeight() + 8);
        testdriver::PressKey(VK_END);
        SetFocus(parent);
        EXPECT_EQ(Notifications(), test.Codes) << "style " << test.Style;
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2) << "style " << test.Style;
        DestroyWindow(list);
    }
}

// The wheel turns for the window with the focus.
TEST_F(ListBoxTest, WheelScrollsWithoutChangingTheSelection) {
    const HWND list = MakeList(LBS_NOTIFY, 20);
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    SetFocus(list);
    Clear();
    const int wheel[] = {-WHEEL_DELTA, -WHEEL_DELTA, -40, -80, WHEEL_DELTA, -10 * WHEEL_DELTA};
    const int top[] = {3, 6, 6, 9, 6, 14};
    for (std::size_t i = 0; i < std::size(wheel); ++i) {
        testdriver::Wheel(list, 10, 10, wheel[i]);
        EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), top[i]) << "after step " << i;
    }
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_TRUE(Notifications().empty());
}

TEST_F(ListBoxTest, DraggingMovesTheSelectionAndScrollsPastTheEdge) {
    const HWND list = MakeList(LBS_NOTIFY, 20);
    testdriver::MouseDown(list, 20, RowY(list, 1));
    testdriver::MouseMove(list, 20, RowY(list, 4));
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 4);
    for (int move = 0; move < 3; ++move) {
        testdriver::MouseMove(list, 20, PageItems * ItemHeight() + 30 + move);
    }
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), PageItems + 2);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 3);
    testdriver::MouseUp(list, 20, PageItems * ItemHeight() + 30);
    EXPECT_EQ(Notifications(), (std::vector<int>{LBN_SETFOCUS, LBN_SELCHANGE}));
}

// One row per style; the same steps for each, and the state expected after every step.
TEST_F(ListBoxTest, StyleVariantsFollowTheirSelectionRules) {
    struct State {
        std::vector<int> Selected;
        int Caret;
        int Top;
        int Count;
    };
    struct Row {
        const char* Name;
        DWORD Style;
        State After[6];
    };
    const char* const steps[] = {"click item 2", "Down",          "End",
                                 "wheel up",     "delete item 0", "Shift+Home"};
    const Row rows[] = {
        {"single",
         LBS_NOTIFY,
         {{{2}, 2, 0, 10},
          {{3}, 3, 0, 10},
          {{9}, 9, 4, 10},
          {{9}, 9, 1, 10},
          {{8}, 8, 1, 9},
          {{0}, 0, 0, 9}}},
        {"multiple",
         LBS_NOTIFY | LBS_MULTIPLESEL,
         {{{2}, 2, 0, 10},
          {{2}, 3, 0, 10},
          {{2}, 9, 4, 10},
          {{2}, 9, 1, 10},
          {{1}, 8, 1, 9},
          {{1}, 0, 0, 9}}},
        {"extended",
         LBS_NOTIFY | LBS_EXTENDEDSEL,
         {{{2}, 2, 0, 10},
          {{3}, 3, 0, 10},
          {{9}, 9, 4, 10},
          {{9}, 9, 1, 10},
          {{8}, 8, 1, 9},
          {{0, 1, 2, 3, 4, 5, 6, 7, 8}, 0, 0, 9}}},
        {"no selection",
         LBS_NOTIFY | LBS_NOSEL,
         {{{}, 2, 0, 10},
          {{}, 3, 0, 10},
          {{}, 9, 4, 10},
          {{}, 9, 1, 10},
          {{}, 8, 1, 9},
          {{}, 0, 0, 9}}},
    };
    for (const Row& row : rows) {
        const HWND list = MakeList(row.Style, 10);
        for (std::size_t step = 0; step < std::size(steps); ++step) {
            switch (step) {
            case 0:
                testdriver::Click(list, 20, RowY(list, 2));
                break;
            case 1:
                testdriver::PressKey(VK_DOWN);
                break;
            case 2:
                testdriver::PressKey(VK_END);
                break;
            case 3:
                testdriver::Wheel(list, 10, 10, WHEEL_DELTA);
                break;
            case 4:
                SendMessageA(list, LB_DELETESTRING, 0, 0);
                break;
            default:
                testdriver::KeyDown(VK_SHIFT);
                testdriver::PressKey(VK_HOME);
                testdriver::KeyUp(VK_SHIFT);
                break;
            }
            const State& want = row.After[step];
            const std::string where = std::string(row.Name) + ", after " + steps[step];
            EXPECT_EQ(Selected(list), want.Selected) << where;
            EXPECT_EQ(SendMessageA(list, LB_GETCARETINDEX, 0, 0), want.Caret) << where;
            EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), want.Top) << where;
            EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), want.Count) << where;
        }
        DestroyWindow(list);
    }
}

// A parent that empties and destroys the list when the user changes its selection.
LRESULT CALLBACK DestroyingParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) {
        DestroyWindow(reinterpret_cast<HWND>(lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(ListBoxTest, ParentMayDestroyTheListWhileHandlingItsNotification) {
    WNDCLASSA parentClass{};
    parentClass.lpfnWndProc = DestroyingParentProc;
    parentClass.lpszClassName = "DestroyingListParent";
    ASSERT_NE(RegisterClassA(&parentClass), 0);
    const HWND owner =
        CreateWindowExA(0, "DestroyingListParent", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                        200, nullptr, nullptr, nullptr, nullptr);
    for (int way = 0; way < 3; ++way) {
        const HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 0,
                                          0, 100, 100, owner, nullptr, nullptr, nullptr);
        SendMessageA(list, LB_ADDSTRING, 0, Text("a"));
        SendMessageA(list, LB_ADDSTRING, 0, Text("b"));
        if (way == 0) {
            testdriver::Click(list, 5, 5);
        } else if (way == 1) {
            SetFocus(list);
            testdriver::PressKey(VK_DOWN);
        } else {
            testdriver::MouseDown(list, 5, 5);
            SetFocus(owner);
        }
        EXPECT_FALSE(IsWindow(list)) << "way " << way;
        EXPECT_EQ(GetCapture(), nullptr) << "way " << way;
    }
}

} // namespace
