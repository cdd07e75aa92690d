// The BUTTON control under real input through the test driver: clicks, presses that leave, the
// space bar, focus loss, check state and notifications (POSIX only). Every test runs twice:
// on the system class and on a class derived from it (see ButtonTest.h).

#include "platform/testing.h"
#include "tests/platform/user32/ButtonTest.h"

#include <gtest/gtest.h>

namespace {

using namespace sequence;

TEST_P(ButtonTest, ClickCapturesPushesAndSendsClickedAfterReleasingTheCapture) {
    const HWND button = MakeButton();
    testdriver::MouseDown(button, 5, 5);
    const Expected down[] = {
        {WM_MOUSEMOVE, Posted | Optional},
        {WM_LBUTTONDOWN, Posted | WParam | LParam, MK_LBUTTON, Point(5, 5)},
        {WM_KILLFOCUS, Sent | Parent | Optional},
        {WM_SETFOCUS, Sent | DefProc},
        {BM_SETSTATE, Sent | DefProc | WParam, TRUE},
    };
    ExpectSequence(down, "button down");
    EXPECT_EQ(GetCapture(), button);
    EXPECT_EQ(GetFocus(), button);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
    Clear();

    testdriver::MouseUp(button, 6, 7);
    const Expected up[] = {
        {WM_MOUSEMOVE, Posted | Optional},
        {WM_LBUTTONUP, Posted | LParam, 0, Point(6, 7)},
        {BM_SETSTATE, Sent | DefProc | WParam, FALSE},
        {WM_CAPTURECHANGED, Sent | DefProc | LParam, 0, 0},
        Command(button, BN_CLICKED),
    };
    ExpectSequence(up, "button up");
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), BST_FOCUS);
}

TEST_P(ButtonTest, PressThatLeavesAndIsReleasedOutsideDoesNotClick) {
    const HWND button = MakeButton();
    testdriver::MouseDown(button, 5, 5);
    Clear();
    testdriver::MouseMove(button, 150, 5);
    testdriver::MouseMove(button, 20, 5);
    testdriver::MouseMove(button, 20, -10);
    const Expected moves[] = {
        {WM_MOUSEMOVE, Posted}, {BM_SETSTATE, Sent | DefProc | WParam, FALSE},
        {WM_MOUSEMOVE, Posted}, {BM_SETSTATE, Sent | DefProc | WParam, TRUE},
        {WM_MOUSEMOVE, Posted}, {BM_SETSTATE, Sent | DefProc | WParam, FALSE},
    };
    ExpectSequence(moves, "moving out, in and out again while captured");

    testdriver::MouseUp(button, 20, -10);
    const Expected up[] = {
        {WM_LBUTTONUP, Posted},
        {BM_SETSTATE, Sent | DefProc | WParam, FALSE},
        {WM_CAPTURECHANGED, Sent | DefProc},
    };
    ExpectSequence(up, "released outside: no click");
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_P(ButtonTest, SpaceDownPushesAndSpaceUpClicks) {
    const HWND button = MakeButton();
    SetFocus(button);
    Clear();
    testdriver::KeyDown(VK_SPACE);
    const Expected down[] = {
        {WM_KEYDOWN, Posted | WParam, VK_SPACE},
        {BM_SETSTATE, Sent | DefProc | WParam, TRUE},
        {WM_CHAR, Posted | Optional},
    };
    ExpectSequence(down, "space down");
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    Clear();
    testdriver::KeyUp(VK_SPACE);
    const Expected up[] = {
        {WM_KEYUP, Posted | WParam, VK_SPACE},
        {BM_SETSTATE, Sent | DefProc | WParam, FALSE},
        Command(button, BN_CLICKED),
    };
    ExpectSequence(up, "space up");
}

TEST_P(ButtonTest, LosingTheFocusWhilePushedReleasesWithoutAClick) {
    const HWND button = MakeButton();
    testdriver::MouseDown(button, 5, 5);
    Clear();
    SetFocus(parent);
    const Expected lost[] = {
        {WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(parent)},
        {WM_CAPTURECHANGED, Sent | DefProc},
        {BM_SETSTATE, Sent | DefProc | WParam, FALSE},
        {WM_SETFOCUS, Sent | Parent},
    };
    ExpectSequence(lost, "focus taken away while pushed");
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), 0);
    Clear();
    testdriver::MouseUp(button, 5, 5);
    const Expected up[] = {{WM_LBUTTONUP, Posted}};
    ExpectSequence(up, "the later release clicks nothing");
}

TEST_P(ButtonTest, FocusAndDoubleClickNotificationsNeedBsNotify) {
    struct Case {
        DWORD Style;
        bool Notifies;
    };
    for (const Case test : {Case{BS_PUSHBUTTON, false}, Case{BS_PUSHBUTTON | BS_NOTIFY, true}}) {
        const HWND button = MakeButton(test.Style);
        testdriver::DoubleClick(button, 5, 5);
        SetFocus(parent);
        int clicked = 0;
        int doubleClicked = 0;
        int focusNotifications = 0;
        for (const Recorded& entry : Log()) {
            if (entry.Message != WM_COMMAND || entry.Window != parent) {
                continue;
            }
            const WORD code = HIWORD(entry.WParamValue);
            clicked += code == BN_CLICKED;
            doubleClicked += code == BN_DOUBLECLICKED;
            focusNotifications += code == BN_SETFOCUS || code == BN_KILLFOCUS;
        }
        // Without BS_NOTIFY the second press of a double click is one more click.
        EXPECT_EQ(clicked, test.Notifies ? 1 : 2) << "style " << test.Style;
        EXPECT_EQ(doubleClicked, test.Notifies ? 1 : 0) << "style " << test.Style;
        EXPECT_EQ(focusNotifications, test.Notifies ? 2 : 0) << "style " << test.Style;
        DestroyWindow(button);
    }
}

TEST_P(ButtonTest, PushButtonsIgnoreSetCheckWhileCheckBoxesKeepIt) {
    struct Case {
        DWORD Style;
        WPARAM Set;
        LRESULT Check;      // BM_GETCHECK after BM_SETCHECK
        LRESULT AfterClick; // BM_GETCHECK after a click
    };
    const Case cases[] = {
        {BS_PUSHBUTTON, BST_CHECKED, BST_UNCHECKED, BST_UNCHECKED},
        {BS_DEFPUSHBUTTON, BST_CHECKED, BST_UNCHECKED, BST_UNCHECKED},
        {BS_CHECKBOX, BST_CHECKED, BST_CHECKED, BST_CHECKED},
        {BS_CHECKBOX, BST_INDETERMINATE, BST_CHECKED, BST_CHECKED},
        {BS_AUTOCHECKBOX, BST_CHECKED, BST_CHECKED, BST_UNCHECKED},
        {BS_AUTO3STATE, BST_CHECKED, BST_CHECKED, BST_INDETERMINATE},
        {BS_3STATE, BST_INDETERMINATE, BST_INDETERMINATE, BST_INDETERMINATE},
    };
    for (const Case& test : cases) {
        const HWND button = MakeButton(test.Style);
        SendMessageA(button, BM_SETCHECK, test.Set, 0);
        EXPECT_EQ(SendMessageA(button, BM_GETCHECK, 0, 0), test.Check) << "style " << test.Style;
        EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0) & 3, test.Check)
            << "style " << test.Style;
        testdriver::Click(button, 5, 5);
        EXPECT_EQ(SendMessageA(button, BM_GETCHECK, 0, 0), test.AfterClick)
            << "style " << test.Style;
        DestroyWindow(button);
    }
}

// A parent that destroys the button while it handles the button's click.
LRESULT CALLBACK DestroyingParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        DestroyWindow(reinterpret_cast<HWND>(lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_P(ButtonTest, ParentMayDestroyTheButtonWhileHandlingItsClick) {
    WNDCLASSA parentClass{};
    parentClass.lpfnWndProc = DestroyingParentProc;
    parentClass.lpszClassName = "DestroyingParent";
    ASSERT_NE(RegisterClassA(&parentClass), 0);
    const HWND owner = CreateWindowExA(0, "DestroyingParent", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                       0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    for (const bool bySpace : {false, true}) {
        const HWND button = CreateWindowExA(
            0, GetParam(), "x", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, owner,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ButtonId)), nullptr, nullptr);
        ASSERT_NE(button, nullptr);
        if (bySpace) {
            SetFocus(button);
            testdriver::PressKey(VK_SPACE);
        } else {
            testdriver::Click(button, 5, 5);
        }
        EXPECT_FALSE(IsWindow(button)) << (bySpace ? "space bar" : "mouse");
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

} // namespace
