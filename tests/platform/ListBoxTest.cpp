// The LISTBOX control: answers of its messages, notifications of user selection against none
// for programmatic selection, keyboard, mouse and wheel, the scroll-bar style bit, style
// variants as state tables, and the scaling of its item storage.

#include "platform/testing.h"
#include "tests/platform/MessageSequence.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace sequence;

constexpr WORD ListId = 55;
// Items are one line of the default GUI font tall.
int ItemHeight() {
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}
// The list shows exactly this many whole items.
constexpr int PageItems = 6;

LPARAM Text(const char* text) {
    return reinterpret_cast<LPARAM>(text);
}

class ListBoxTest : public testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        RegisterRecordingClass();
        IgnorePainting();
        parent = CreateWindowExA(0, RecordingClass, "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        SetParentWindow(parent);
    }
    void TearDown() override { testdriver::Reset(); }

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
        RecordWindow(list);
        testdriver::PumpUntilIdle();
        Clear();
        return list;
    }

    static Expected Command(HWND list, int code) {
        return {WM_COMMAND, Sent | Parent | WParam | LParam, MAKEWPARAM(ListId, code),
                reinterpret_cast<LPARAM>(list)};
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
        for (const Recorded& entry : Log()) {
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

TEST_F(ListBoxTest, NewAndResetListsHaveCaretZeroNoSelectionAndTopZero) {
    for (const DWORD style : {LBS_NOTIFY, LBS_MULTIPLESEL, LBS_EXTENDEDSEL}) {
        const HWND used = MakeList(style, 20);
        SendMessageA(used, LB_SETTOPINDEX, 5, 0);
        SendMessageA(used, LB_SETCARETINDEX, 7, 0);
        SendMessageA(used, LB_SETCURSEL, 8, 0);
        SendMessageA(used, LB_SETSEL, TRUE, 9);
        SendMessageA(used, LB_RESETCONTENT, 0, 0);
        for (const HWND list : {MakeList(style), used}) {
            const char* which = list == used ? "reset" : "new";
            EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0) << which << " " << style;
            EXPECT_EQ(SendMessageA(list, LB_GETCARETINDEX, 0, 0), 0) << which << " " << style;
            EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0) << which << " " << style;
            // A single-selection list answers LB_ERR with nothing selected, a multiple one
            // its caret.
            EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), style == LBS_NOTIFY ? LB_ERR : 0)
                << which << " " << style;
            SendMessageA(list, LB_ADDSTRING, 0, Text("x"));
            EXPECT_TRUE(Selected(list).empty()) << which << " " << style;
            DestroyWindow(list);
        }
    }
}

TEST_F(ListBoxTest, ItemMessagesAnswerAsWin32Does) {
    const HWND list = MakeList(LBS_NOTIFY);
    struct Step {
        UINT Message;
        WPARAM WParam;
        LPARAM LParam;
        LRESULT Answer;
        int CountAfter;
    };
    const Step steps[] = {
        {LB_ADDSTRING, 0, Text("Beta"), 0, 1},
        {LB_ADDSTRING, 0, Text("alpha"), 1, 2},
        {LB_INSERTSTRING, 0, Text("gamma"), 0, 3},
        {LB_INSERTSTRING, static_cast<WPARAM>(-1), Text("delta"), 3, 4},
        {LB_INSERTSTRING, 5, Text("too far"), LB_ERR, 4},
        {LB_GETTEXTLEN, 1, 0, 4, 4},
        {LB_GETTEXTLEN, 4, 0, LB_ERR, 4},
        {LB_GETTEXTLEN, static_cast<WPARAM>(-1), 0, LB_ERR, 4},
        {LB_SETITEMDATA, 2, 0x5150, TRUE, 4},
        {LB_GETITEMDATA, 2, 0, 0x5150, 4},
        {LB_GETITEMDATA, 0, 0, 0, 4},
        {LB_GETITEMDATA, 9, 0, LB_ERR, 4},
        {LB_SETITEMDATA, 9, 1, LB_ERR, 4},
        {LB_FINDSTRING, static_cast<WPARAM>(-1), Text("AL"), 2, 4},
        {LB_FINDSTRING, static_cast<WPARAM>(-1), Text(""), 0, 4},
        {LB_FINDSTRING, 2, Text("al"), 2, 4},
        {LB_FINDSTRING, 2, Text("G"), 0, 4},
        {LB_FINDSTRING, 99, Text("delta"), 3, 4},
        {LB_FINDSTRING, static_cast<WPARAM>(-1), Text("zz"), LB_ERR, 4},
        {LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), Text("BETA"), 1, 4},
        {LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), Text("bet"), LB_ERR, 4},
        {LB_GETSELCOUNT, 0, 0, LB_ERR, 4},
        {LB_SETCOUNT, 10, 0, LB_ERR, 4},
        {LB_DELETESTRING, 4, 0, LB_ERR, 4},
        {LB_DELETESTRING, 0, 0, 3, 3},
        {LB_GETTEXT, 7, Text("unused"), LB_ERR, 3},
        {LB_GETTEXT, 0, 0, LB_ERR, 3},
        {LB_SETTOPINDEX, 3, 0, LB_ERR, 3},
        {LB_SETTOPINDEX, 2, 0, LB_OKAY, 3},
        {LB_GETTOPINDEX, 0, 0, 0, 3},
        {LB_SETHORIZONTALEXTENT, 400, 0, 0, 3},
        {LB_GETHORIZONTALEXTENT, 0, 0, 400, 3},
        {LB_GETITEMHEIGHT, 0, 0, ItemHeight(), 3},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(SendMessageA(list, step.Message, step.WParam, step.LParam), step.Answer)
            << MessageName(step.Message) << " " << step.WParam;
        EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), step.CountAfter)
            << MessageName(step.Message) << " " << step.WParam;
    }
    EXPECT_EQ(testdriver::ListItems(list), (std::vector<std::string>{"Beta", "alpha", "delta"}));
    char buffer[16] = {};
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 5);
    EXPECT_STREQ(buffer, "alpha");
    EXPECT_TRUE(Notifications().empty());
}

TEST_F(ListBoxTest, DeletingKeepsTheSelectionOnItsItemOrClearsIt) {
    const HWND list = MakeList(LBS_NOTIFY, 5);
    SendMessageA(list, LB_SETCURSEL, 3, 0);
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 0, 0), 4);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(ItemText(list, 2), "item 3");
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 2, 0), 3);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 3, 0), LB_ERR);
    EXPECT_EQ(testdriver::ListItems(list),
              (std::vector<std::string>{"item 1", "item 2", "item 4"}));
}

TEST_F(ListBoxTest, SetSelOnASingleSelectionListAnswersErrAndChangesNothing) {
    const HWND list = MakeList(LBS_NOTIFY, 4);
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendMessageA(list, LB_SETSEL, TRUE, 2), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_SETSEL, FALSE, 1), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_SETSEL, TRUE, -1), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Selected(list), std::vector<int>{1});
    // Clearing with -1 answers LB_ERR although it works.
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 4, 0), LB_ERR);
}

TEST_F(ListBoxTest, ProgrammaticSelectionNeverNotifies) {
    const HWND single = MakeList(LBS_NOTIFY, 10);
    const HWND multiple = MakeList(LBS_NOTIFY | LBS_MULTIPLESEL, 10);
    Clear();
    SendMessageA(single, LB_SETCURSEL, 4, 0);
    SendMessageA(multiple, LB_SETSEL, TRUE, 3);
    SendMessageA(multiple, LB_SELITEMRANGE, TRUE, MAKELPARAM(5, 8));
    SendMessageA(multiple, LB_SETSEL, FALSE, -1);
    SendMessageA(single, LB_SETCARETINDEX, 9, 0);
    const Expected expected[] = {
        {LB_SETCURSEL, Sent}, {LB_SETSEL, Sent},        {LB_SELITEMRANGE, Sent},
        {LB_SETSEL, Sent},    {LB_SETCARETINDEX, Sent},
    };
    ExpectSequence(expected, "selection set by messages");
}

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

TEST_F(ListBoxTest, ScrollBarStyleShowsOnlyWhileItemsOverflow) {
    struct Case {
        DWORD Style;
        bool ShownWhenFitting;
        bool ShownWhenOverflowing;
    };
    const Case cases[] = {
        {WS_VSCROLL, false, true},
        {WS_VSCROLL | LBS_DISABLENOSCROLL, true, true},
        {0, false, false},
    };
    for (const Case& test : cases) {
        const HWND list = MakeList(test.Style | LBS_NOTIFY);
        const auto shown = [&] { return (testdriver::Style(list) & WS_VSCROLL) != 0; };
        EXPECT_EQ(shown(), test.ShownWhenFitting) << "empty, style " << test.Style;
        for (int i = 0; i < PageItems; ++i) {
            SendMessageA(list, LB_ADDSTRING, 0, Text("x"));
        }
        EXPECT_EQ(shown(), test.ShownWhenFitting) << "full page, style " << test.Style;
        SendMessageA(list, LB_INSERTSTRING, 0, Text("one more"));
        EXPECT_EQ(shown(), test.ShownWhenOverflowing) << "overflowing, style " << test.Style;
        SendMessageA(list, LB_DELETESTRING, 0, 0);
        EXPECT_EQ(shown(), test.ShownWhenFitting) << "full page again, style " << test.Style;
        SendMessageA(list, LB_ADDSTRING, 0, Text("x"));
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        EXPECT_EQ(shown(), test.ShownWhenFitting) << "reset, style " << test.Style;
        DestroyWindow(list);
    }
}

TEST_F(ListBoxTest, SortedListsSortAddedStringsButNotInsertedOnes) {
    const HWND list = MakeList(LBS_SORT | LBS_NOTIFY);
    for (const char* text : {"pear", "Apple", "banana", "apple", "Cherry"}) {
        SendMessageA(list, LB_ADDSTRING, 0, Text(text));
    }
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, Text("b")), 2);
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 1, Text("zebra")), 1);
    EXPECT_EQ(testdriver::ListItems(list), (std::vector<std::string>{"Apple", "zebra", "apple", "b",
                                                                     "banana", "Cherry", "pear"}));
}

TEST_F(ListBoxTest, MultipleSelectionMessages) {
    const HWND list = MakeList(LBS_MULTIPLESEL, 8);
    EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_SETSEL, TRUE, 6), LB_OKAY);
    EXPECT_EQ(SendMessageA(list, LB_GETCARETINDEX, 0, 0), 6);
    EXPECT_EQ(SendMessageA(list, LB_SELITEMRANGE, TRUE, MAKELPARAM(1, 3)), LB_OKAY);
    EXPECT_EQ(SendMessageA(list, LB_SELITEMRANGE, TRUE, MAKELPARAM(9, 12)), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_SETSEL, TRUE, 8), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 4);
    int items[3] = {};
    EXPECT_EQ(SendMessageA(list, LB_GETSELITEMS, 3, reinterpret_cast<LPARAM>(items)), 3);
    EXPECT_EQ(std::vector<int>(items, items + 3), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(SendMessageA(list, LB_SETSEL, FALSE, -1), LB_OKAY);
    EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_SETSEL, TRUE, -1), LB_OKAY);
    EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 8);
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 1, 0), LB_ERR);
}

TEST_F(ListBoxTest, OwnerDrawnListsWithoutStringsKeepTheCallersValues) {
    const HWND list = MakeList(LBS_OWNERDRAWFIXED | LBS_NODATA);
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, 0x1234), 0);
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, 0x5678), 1);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 1, 0), 0x5678);
    EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 0, 0), static_cast<LRESULT>(sizeof(ULONG_PTR)));
    ULONG_PTR value = 0;
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(&value)),
              static_cast<LRESULT>(sizeof value));
    EXPECT_EQ(value, 0x1234u);
    EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, static_cast<WPARAM>(-1), 0x5678), 1);
    EXPECT_EQ(SendMessageA(list, LB_SETCOUNT, 100, 0), LB_OKAY);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 100);
    EXPECT_EQ(SendMessageA(list, LB_SETCOUNT, 1, 0), LB_OKAY);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 0, 0), 0x1234);
    EXPECT_EQ(SendMessageA(list, LB_SETCOUNT, 0x7FFFFFFF, 0), LB_ERRSPACE);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1);
}

TEST_F(ListBoxTest, ItemRectanglesFollowTheTopIndex) {
    const HWND list = MakeList(LBS_NOTIFY, 20);
    SendMessageA(list, LB_SETTOPINDEX, 18, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 20 - PageItems) << "clamped to the end";
    RECT rect{};
    EXPECT_EQ(SendMessageA(list, LB_GETITEMRECT, 15, reinterpret_cast<LPARAM>(&rect)), TRUE);
    EXPECT_EQ(rect.top, (15 - (20 - PageItems)) * ItemHeight());
    EXPECT_EQ(rect.bottom, rect.top + ItemHeight());
    EXPECT_EQ(rect.right, 120);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMRECT, 20, reinterpret_cast<LPARAM>(&rect)), LB_ERR);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0) << "selection scrolled into view";
    const HFONT font = reinterpret_cast<HFONT>(static_cast<UINT_PTR>(0x77));
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(SendMessageA(list, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
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

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Prints the time of adding 100,000 items one by one at the end and at the top (a figure to
// read, not a limit to check: machines differ), and checks that both keep every item in order.
TEST_F(ListBoxTest, HundredThousandItemsAtTheEndAndAtTheTopKeepTheirOrder) {
    constexpr int Items = 100000;
    for (const bool atTop : {false, true}) {
        const HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VSCROLL | LBS_NOTIFY, 0,
                                          0, 100, 100, parent, nullptr, nullptr, nullptr);
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < Items; ++i) {
            const std::string text = "Track " + std::to_string(i);
            SendMessageA(list, atTop ? LB_INSERTSTRING : LB_ADDSTRING, 0, Text(text.c_str()));
        }
        std::printf("[ figure   ] %d items %s: %.1f ms\n", Items,
                    atTop ? "inserted at the top" : "added at the end", MillisecondsSince(start));
        ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), Items);
        for (const int index : {0, 1, 4999, 50000, Items - 1}) {
            const int number = atTop ? Items - 1 - index : index;
            EXPECT_EQ(ItemText(list, index), "Track " + std::to_string(number));
        }
        EXPECT_EQ(
            SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), Text("track 77777")),
            atTop ? Items - 1 - 77777 : 77777);
        DestroyWindow(list);
    }
}

} // namespace
