// The LISTBOX control through its messages: their answers, no notification for selection set
// by the program, the scroll-bar style bit, and the scaling of its item storage.

#include "tests/platform/user32/ListBoxTest.h"
#include "tests/support/ReadBack.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace sequence;

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
            // A single-selection list answers LB_ERR with nothing selected; Windows documents
            // zero for a multiple one, Wine answers LB_ERR.
            const LRESULT multiple = testsession::WindowsOrWine<LRESULT>(0, LB_ERR);
            EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0),
                      style == LBS_NOTIFY ? LB_ERR : multiple)
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
        // Undocumented: an empty prefix; ours finds the first item, Wine nothing.
        {LB_FINDSTRING, static_cast<WPARAM>(-1), Text(""), testsession::WindowsOrWine(0, LB_ERR),
         4},
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
        // Undocumented: no buffer; ours refuses, Wine answers the length.
        {LB_GETTEXT, 0, 0, testsession::WindowsOrWine(LB_ERR, 4), 3},
        // Undocumented: a top index past the last item; ours refuses, Wine accepts.
        {LB_SETTOPINDEX, 3, 0, testsession::WindowsOrWine(LB_ERR, LB_OKAY), 3},
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
    EXPECT_EQ(readback::ListItems(list), (std::vector<std::string>{"Beta", "alpha", "delta"}));
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
    EXPECT_EQ(readback::ListItems(list), (std::vector<std::string>{"item 1", "item 2", "item 4"}));
}

// Windows documents LB_SETSEL for lists of several selections only; ours refuses it on a list
// of one, Wine selects (and the last call, which selects every item there, leaves none).
TEST_F(ListBoxTest, SetSelOnASingleSelectionListAnswersErrAndChangesNothing) {
    const HWND list = MakeList(LBS_NOTIFY, 4);
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 1, 0), 1);
    const LRESULT answer = testsession::WindowsOrWine<LRESULT>(LB_ERR, LB_OKAY);
    EXPECT_EQ(SendMessageA(list, LB_SETSEL, TRUE, 2), answer);
    EXPECT_EQ(SendMessageA(list, LB_SETSEL, FALSE, 1), answer);
    EXPECT_EQ(SendMessageA(list, LB_SETSEL, TRUE, -1), answer);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0),
              testsession::WindowsOrWine<LRESULT>(1, LB_ERR));
    EXPECT_EQ(Selected(list), testsession::WindowsOrWine(std::vector<int>{1}, std::vector<int>{}));
    SendMessageA(list, LB_SETCURSEL, 1, 0);
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
        const auto shown = [&] { return (readback::Style(list) & WS_VSCROLL) != 0; };
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

// Where strings that differ only in case go is undocumented: ours keeps them in the order they
// came, Wine puts the later one first.
TEST_F(ListBoxTest, SortedListsSortAddedStringsButNotInsertedOnes) {
    const HWND list = MakeList(LBS_SORT | LBS_NOTIFY);
    for (const char* text : {"pear", "Apple", "banana", "apple", "Cherry"}) {
        SendMessageA(list, LB_ADDSTRING, 0, Text(text));
    }
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, Text("b")), 2);
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 1, Text("zebra")), 1);
    const std::string first = testsession::WindowsOrWine<std::string>("Apple", "apple");
    const std::string second = testsession::WindowsOrWine<std::string>("apple", "Apple");
    EXPECT_EQ(readback::ListItems(list),
              (std::vector<std::string>{first, "zebra", second, "b", "banana", "Cherry", "pear"}));
}

TEST_F(ListBoxTest, MultipleSelectionMessages) {
    const HWND list = MakeList(LBS_MULTIPLESEL, 8);
    EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_SETSEL, TRUE, 6), LB_OKAY);
    EXPECT_EQ(SendMessageA(list, LB_GETCARETINDEX, 0, 0), 6);
    EXPECT_EQ(SendMessageA(list, LB_SELITEMRANGE, TRUE, MAKELPARAM(1, 3)), LB_OKAY);
    // Undocumented: a range past the last item; ours refuses it, Wine takes what there is.
    EXPECT_EQ(SendMessageA(list, LB_SELITEMRANGE, TRUE, MAKELPARAM(9, 12)),
              testsession::WindowsOrWine<LRESULT>(LB_ERR, LB_OKAY));
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
    const HWND list = MakeList(LBS_OWNERDRAWFIXED);
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, 0x1234), 0);
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, 0x5678), 1);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 1, 0), 0x5678);
    EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 0, 0), static_cast<LRESULT>(sizeof(ULONG_PTR)));
    ULONG_PTR value = 0;
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(&value)),
              static_cast<LRESULT>(sizeof value));
    EXPECT_EQ(value, 0x1234u);
    EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, static_cast<WPARAM>(-1), 0x5678), 1);
    EXPECT_EQ(SendMessageA(list, LB_SETCOUNT, 100, 0), LB_ERR) << "a list with data has no count "
                                                                  "of its own";
}

// LBS_NODATA: the values given with items are ignored and searches fail; only the count is kept.
TEST_F(ListBoxTest, ListsWithoutDataKeepOnlyTheirCount) {
    const HWND list = MakeList(LBS_OWNERDRAWFIXED | LBS_NODATA);
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, 0x1234), 0);
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, 0x5678), 1);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 1, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, static_cast<WPARAM>(-1), 0x5678), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), 0x5678), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_SETCOUNT, 100, 0), LB_OKAY);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 100);
    EXPECT_EQ(SendMessageA(list, LB_SETCOUNT, 1, 0), LB_OKAY);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1);
    // Our layer keeps a record per item and refuses a count past its limit with LB_ERRSPACE,
    // which Windows allows; Wine takes any count.
    EXPECT_EQ(SendMessageA(list, LB_SETCOUNT, 0x7FFFFFFF, 0),
              testsession::WindowsOrWine<LRESULT>(LB_ERRSPACE, LB_OKAY));
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0),
              testsession::WindowsOrWine<LRESULT>(1, 0x7FFFFFFF));
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
