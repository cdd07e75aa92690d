// The BUTTON control under real input: clicks, presses that leave, the space bar, BM_CLICK,
// focus loss, check state and notifications. Every test runs twice: on the system class and
// on a class of another name that takes the system procedure from GetClassInfoA and calls it
// through CallWindowProcA, the way the toolkit derives its controls.

#include "platform/testing.h"
#include "tests/platform/MessageSequence.h"

#include <gtest/gtest.h>

namespace {

using namespace sequence;

constexpr WORD ButtonId = 101;

WNDPROC systemButtonProc = nullptr;

LRESULT CALLBACK DerivedButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(systemButtonProc, window, message, wParam, lParam);
}

void RegisterDerivedButton() {
    WNDCLASSA derived{};
    ASSERT_TRUE(GetClassInfoA(nullptr, "BUTTON", &derived));
    systemButtonProc = derived.lpfnWndProc;
    derived.lpfnWndProc = DerivedButtonProc;
    derived.lpszClassName = "DerivedButton";
    ASSERT_NE(RegisterClassA(&derived), 0);
}

LPARAM Point(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

class ButtonTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        testdriver::Reset();
        RegisterRecordingClass();
        IgnorePainting();
        RegisterDerivedButton();
        parent = CreateWindowExA(0, RecordingClass, "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                                 100, 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        SetParentWindow(parent);
    }
    void TearDown() override { testdriver::Reset(); }

    HWND MakeButton(DWORD style = BS_PUSHBUTTON) {
        const HWND button = CreateWindowExA(
            WS_EX_NOPARENTNOTIFY, GetParam(), "OK", WS_CHILD | WS_VISIBLE | style, 10, 10, 80, 24,
            parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ButtonId)), nullptr, nullptr);
        EXPECT_NE(button, nullptr);
        RecordWindow(button);
        testdriver::PumpUntilIdle();
        Clear();
        return button;
    }

    static Expected Command(HWND button, int code) {
        return {WM_COMMAND, Sent | Parent | WParam | LParam, MAKEWPARAM(ButtonId, code),
                reinterpret_cast<LPARAM>(button)};
    }

    HWND parent = nullptr;
};

INSTANTIATE_TEST_SUITE_P(SystemAndDerivedClass, ButtonTest,
                         testing::Values("BUTTON", "DerivedButton"));

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

TEST_P(ButtonTest, BmClickPlaysAPressAndReleaseOnEnabledButtonsOnly) {
    const HWND button = MakeButton();
    SendMessageA(button, BM_CLICK, 0, 0);
    const Expected clicked[] = {
        {BM_CLICK, Sent},
        {WM_LBUTTONDOWN, Sent | DefProc},
        {WM_KILLFOCUS, Sent | Parent | Optional},
        {WM_SETFOCUS, Sent | DefProc},
        {BM_SETSTATE, Sent | DefProc | WParam, TRUE},
        {WM_LBUTTONUP, Sent | DefProc},
        {BM_SETSTATE, Sent | DefProc | WParam, FALSE},
        {WM_CAPTURECHANGED, Sent | DefProc},
        Command(button, BN_CLICKED),
    };
    ExpectSequence(clicked, "BM_CLICK on an enabled button");

    EnableWindow(button, FALSE);
    Clear();
    SendMessageA(button, BM_CLICK, 0, 0);
    const Expected ignored[] = {{BM_CLICK, Sent}};
    ExpectSequence(ignored, "BM_CLICK on a disabled button");
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

TEST_P(ButtonTest, KeepsItsFontAndAnswersTheDialogCodeOfItsType) {
    const HWND button = MakeButton(BS_DEFPUSHBUTTON);
    const HFONT font = reinterpret_cast<HFONT>(static_cast<UINT_PTR>(0x1234));
    EXPECT_EQ(SendMessageA(button, WM_GETFONT, 0, 0), 0);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(SendMessageA(button, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
    EXPECT_EQ(SendMessageA(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    SendMessageA(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageA(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE)),
              WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
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
