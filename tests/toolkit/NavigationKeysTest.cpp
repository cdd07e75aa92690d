// Moving the focus and the selection with keys typed through the test driver (POSIX only).

#include <string>
#include <vector>

#include "platform/testing.h"
#include "tests/support/ReadBack.h"
#include "tests/toolkit/WindowTestSupport.h"
#include "toolkit/Navigation.h"
#include "toolkit/WindowProc.h"

namespace {

class NavigationKeysTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        BuildForm();
    }

    TControl* Focused() const {
        for (TControl* control : {first, second, list, label}) {
            if (control->Handle == GetFocus()) {
                return control;
            }
        }
        return nullptr;
    }

    const char* NameOf(TControl* control) const {
        return control == first    ? "first"
               : control == second ? "second"
               : control == list   ? "list"
               : control == label  ? "label"
                                   : "none";
    }
};

TEST_F(NavigationKeysTest, NavigationKeysMoveTheFocusByTabOrderAndWrap) {
    struct Case {
        const char* start;
        int key;
        bool shift;
        const char* expected;
    };
    const Case cases[] = {
        {"first", VK_TAB, false, "second"}, {"second", VK_TAB, false, "list"},
        {"list", VK_TAB, false, "first"},   {"first", VK_TAB, true, "list"},
        {"list", VK_TAB, true, "second"},   {"first", VK_RIGHT, false, "second"},
        {"first", VK_LEFT, false, "list"},  {"second", VK_DOWN, false, "list"},
        {"second", VK_UP, false, "first"},  {"first", VK_NEXT, false, "second"},
        {"first", VK_PRIOR, false, "list"}, {"list", VK_RIGHT, false, "first"},
        {"list", VK_LEFT, false, "second"}, {"list", VK_DOWN, false, "list"},
        {"list", VK_UP, false, "list"},     {"list", VK_NEXT, false, "list"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " key " + std::to_string(c.key) +
                     (c.shift ? " with Shift" : ""));
        TControl* start = std::string(c.start) == "first"    ? first
                          : std::string(c.start) == "second" ? second
                                                             : list;
        SetFocus(start->Handle);
        if (c.shift) {
            testdriver::KeyDown(VK_SHIFT);
        }
        testdriver::PressKey(c.key);
        if (c.shift) {
            testdriver::KeyUp(VK_SHIFT);
        }
        EXPECT_STREQ(NameOf(Focused()), c.expected);
        EXPECT_EQ(form->LastFocused, Focused());
    }
}

TEST_F(NavigationKeysTest, UpAndDownInTheListMoveTheSelectionNotTheFocus) {
    SetFocus(list->Handle);
    list->SetCurrentIndex(0);
    testdriver::PressKey(VK_DOWN);
    testdriver::PressKey(VK_DOWN);
    EXPECT_EQ(readback::CurrentItem(list->Handle), 2);
    testdriver::PressKey(VK_UP);
    EXPECT_EQ(readback::CurrentItem(list->Handle), 1);
    EXPECT_EQ(GetFocus(), list->Handle);
}

TEST_F(NavigationKeysTest, DisabledAndHiddenControlsAreSkipped) {
    second->SetEnabled(false);
    SetFocus(first->Handle);
    testdriver::PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), list->Handle);

    second->SetEnabled(true);
    second->SetVisible(false);
    SetFocus(list->Handle);
    testdriver::KeyDown(VK_SHIFT);
    testdriver::PressKey(VK_TAB);
    testdriver::KeyUp(VK_SHIFT);
    EXPECT_EQ(GetFocus(), first->Handle);
}

TEST_F(NavigationKeysTest, TheTabCharacterNeverReachesTheControlUnlessCtrlOrAltIsDown) {
    DefaultRecorder recorder(first);
    SetFocus(first->Handle);
    struct Case {
        UINT msg;
        WPARAM key;
        int modifier; // 0 none
        bool reachesDefault;
    };
    const Case cases[] = {
        {WM_CHAR, '\t', 0, false},         {WM_CHAR, 'a', 0, true},
        {WM_CHAR, '\t', VK_CONTROL, true}, {WM_KEYUP, VK_TAB, 0, false},
        {WM_KEYUP, 'A', 0, true},          {WM_KEYDOWN, VK_RIGHT, VK_MENU, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.msg) + " " + std::to_string(c.key));
        recorder.Clear();
        if (c.modifier != 0) {
            testdriver::KeyDown(c.modifier);
        }
        SendMessageA(first->Handle, c.msg, c.key, 0);
        if (c.modifier != 0) {
            testdriver::KeyUp(c.modifier);
        }
        EXPECT_EQ(recorder.Saw(c.msg, c.key), c.reachesDefault);
        EXPECT_EQ(GetFocus(), first->Handle);
    }
}

} // namespace
