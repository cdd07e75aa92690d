// The STATIC control: transparent to the mouse without SS_NOTIFY, reporting clicks on the
// button-down, double clicks and enabling with it.

#include "platform/testing.h"
#include "tests/platform/user32/MessageSequence.h"
#include "tests/support/ReadBack.h"

#include <gtest/gtest.h>

namespace {

using namespace sequence;

constexpr WORD LabelId = 7;

class StaticTest : public testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        RegisterRecordingClass(CS_DBLCLKS);
        parent = CreateWindowExA(0, RecordingClass, "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        SetParentWindow(parent);
    }
    void TearDown() override { testdriver::Reset(); }

    HWND MakeLabel(DWORD style) {
        const HWND label = CreateWindowExA(
            WS_EX_NOPARENTNOTIFY, "STATIC", "label", WS_CHILD | WS_VISIBLE | style, 20, 30, 100, 22,
            parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(LabelId)), nullptr, nullptr);
        EXPECT_NE(label, nullptr);
        RecordWindow(label);
        testdriver::PumpUntilIdle();
        Clear();
        return label;
    }

    static Expected Command(HWND label, int code) {
        return {WM_COMMAND, Sent | Parent | WParam | LParam, MAKEWPARAM(LabelId, code),
                reinterpret_cast<LPARAM>(label)};
    }

    HWND parent = nullptr;
};

TEST_F(StaticTest, WithoutNotifyAClickGoesToTheWindowBeneath) {
    const HWND label = MakeLabel(SS_LEFT);
    testdriver::Click(label, 5, 6);
    // The parent gets the click at its own coordinates: the label sits at 20, 30.
    const Expected expected[] = {
        {WM_MOUSEMOVE, Posted | Parent | Optional},
        {WM_LBUTTONDOWN, Posted | Parent | LParam, 0, MAKELPARAM(25, 36)},
        {WM_LBUTTONUP, Posted | Parent | LParam, 0, MAKELPARAM(25, 36)},
    };
    ExpectSequence(expected, "click on a label without SS_NOTIFY");
    EXPECT_EQ(SendMessageA(label, WM_NCHITTEST, 0, MAKELPARAM(25, 36)), HTTRANSPARENT);
}

TEST_F(StaticTest, WithNotifyClickedGoesOutOnTheButtonDown) {
    const HWND label = MakeLabel(SS_NOTIFY);
    testdriver::MouseDown(label, 5, 6);
    const Expected down[] = {
        {WM_MOUSEMOVE, Posted | Optional},
        {WM_LBUTTONDOWN, Posted | LParam, 0, MAKELPARAM(5, 6)},
        Command(label, STN_CLICKED),
    };
    ExpectSequence(down, "button down on a label with SS_NOTIFY");
    testdriver::MouseUp(label, 5, 6);
    const Expected up[] = {{WM_LBUTTONUP, Posted}};
    ExpectSequence(up, "button up sends nothing more");
    EXPECT_EQ(GetFocus(), parent) << "a label does not take the focus";
}

TEST_F(StaticTest, NotificationsOfEachStyle) {
    struct Case {
        DWORD Style;
        int Clicks;        // STN_CLICKED for a double click (two presses)
        int DoubleClicks;  // STN_DBLCLK
        int EnableChanges; // STN_DISABLE and STN_ENABLE for disabling and enabling
    };
    const Case cases[] = {
        {SS_LEFT, 0, 0, 0},
        {SS_CENTER | SS_NOPREFIX, 0, 0, 0},
        {SS_NOTIFY, 1, 1, 2},
        {SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP, 1, 1, 2},
    };
    for (const Case& test : cases) {
        const HWND label = MakeLabel(test.Style);
        testdriver::DoubleClick(label, 5, 5);
        EnableWindow(label, FALSE);
        EnableWindow(label, TRUE);
        int clicks = 0;
        int doubleClicks = 0;
        int enableChanges = 0;
        for (const Recorded& entry : Log()) {
            if (entry.Message == WM_COMMAND && entry.Window == parent &&
                entry.LParamValue == reinterpret_cast<LPARAM>(label)) {
                const WORD code = HIWORD(entry.WParamValue);
                clicks += code == STN_CLICKED;
                doubleClicks += code == STN_DBLCLK;
                enableChanges += code == STN_ENABLE || code == STN_DISABLE;
            }
        }
        EXPECT_EQ(clicks, test.Clicks) << "style " << test.Style;
        EXPECT_EQ(doubleClicks, test.DoubleClicks) << "style " << test.Style;
        EXPECT_EQ(enableChanges, test.EnableChanges) << "style " << test.Style;
        DestroyWindow(label);
    }
}

TEST_F(StaticTest, KeepsTextAndFont) {
    const HWND label = MakeLabel(SS_NOTIFY);
    char text[16] = {};
    EXPECT_EQ(GetWindowTextA(label, text, sizeof text), 5);
    EXPECT_STREQ(text, "label");
    SetWindowTextA(label, "other");
    EXPECT_EQ(readback::WindowText(label), "other");
    const HFONT font = reinterpret_cast<HFONT>(static_cast<UINT_PTR>(0x4321));
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    EXPECT_EQ(SendMessageA(label, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
}

} // namespace
