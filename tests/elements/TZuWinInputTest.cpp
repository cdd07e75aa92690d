// The window element base driven by input through the test driver: mouse and key events,
// capture, double clicks, and the colours a label is painted in (POSIX only).

#include "elements/TZuWin.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "elements/TZuButton.h"
#include "elements/TZuLabel.h"
#include "platform/testing.h"
#include "tests/elements/LinkProbe.h"
#include "tests/elements/TZuWinTest.h"
#include "tests/support/ReadBack.h"
#include "toolkit/Colors.h"

namespace {

std::vector<std::int32_t> Integers(const Probe& probe) {
    std::vector<std::int32_t> values;
    for (const TData& value : probe.Values) {
        EXPECT_EQ(value.Tag, TagInteger);
        values.push_back(value.IntValue);
    }
    return values;
}

TEST_F(TZuWinTest, ColoursWithTheTopBitNameSystemColoursAndOthersAreRgb) {
    const struct {
        std::uint32_t Color;
        COLORREF Shown;
    } cases[] = {
        {0xFF000005, GetSysColor(COLOR_WINDOW)},
        {0x80000005, GetSysColor(COLOR_WINDOW)},
        {0xFF00000F, GetSysColor(COLOR_BTNFACE)},
        {0x000000FF, RGB(255, 0, 0)},
    };
    for (const auto& c : cases) {
        TZuLabel& label = Make<TZuLabel>(form);
        label.Left = 200;
        label.Top = 200;
        label.Color = c.Color;
        label.Init();
        ShowWindows();
        EXPECT_EQ(label.Control->Color, c.Color);
        EXPECT_EQ(ResolveColor(label.Control->Color), c.Shown);
        // The label's background, left of any text it would show.
        EXPECT_EQ(testdriver::ClientPixel(label.Control->Handle, 60, 20), c.Shown)
            << std::hex << c.Color;
        label.Control->SetVisible(false);
    }
}

TEST_F(TZuWinTest, MouseMoveReportsTheButtonOfThePreviousMouseRecord) {
    Probe moves;
    Probe downs;
    Probe ups;
    TZuButton& button = MakeButton(10, 10);
    button.OnMouseMove = moves.Point();
    button.OnMouseDown = downs.Point();
    button.OnMouseUp = ups.Point();
    button.Init();
    ShowWindows();
    const HWND window = button.Control->Handle;

    testdriver::MouseMove(window, 5, 5); // all-zero record before: -1
    testdriver::MouseDown(window, 5, 5); // the press records the left button
    testdriver::MouseMove(window, 6, 5); // left held before: 0
    testdriver::KeyDown(VK_CONTROL);     //
    testdriver::MouseMove(window, 7, 5); // left held before: 0
    testdriver::MouseMove(window, 8, 5); // left and Ctrl before: -1
    testdriver::KeyUp(VK_CONTROL);       //
    testdriver::MouseUp(window, 8, 5);   //
    testdriver::MouseDown(window, 8, 5, testdriver::MouseButton::Right);
    testdriver::MouseMove(window, 9, 5); // right held before: 1
    testdriver::MouseUp(window, 9, 5, testdriver::MouseButton::Right);
    testdriver::MouseDown(window, 9, 5, testdriver::MouseButton::Middle);
    testdriver::MouseMove(window, 10, 5); // middle held before: 2
    testdriver::MouseUp(window, 10, 5, testdriver::MouseButton::Middle);

    EXPECT_EQ(Integers(moves), (std::vector<std::int32_t>{-1, 0, 0, -1, 1, 2}));
    EXPECT_EQ(Integers(downs), (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(Integers(ups), (std::vector<std::int32_t>{0, 1, 2}));
}

TEST_F(TZuWinTest, MouseCaptureHoldsTheMouseFromPressToRelease) {
    const struct { bool MouseCapture; } cases[] = {{true}, {false}};
    for (const auto& c : cases) {
        TZuLabel& label = Make<TZuLabel>(form);
        label.Left = 200;
        label.Top = 200;
        label.MouseCapture = c.MouseCapture;
        label.Init();
        ShowWindows();
        const HWND window = label.Control->Handle;

        testdriver::MouseDown(window, 3, 3);
        EXPECT_EQ(readback::Capture() == window, c.MouseCapture);
        testdriver::MouseUp(window, 3, 3);
        EXPECT_EQ(readback::Capture(), nullptr);
        label.Control->SetVisible(false);
    }
}

TEST_F(TZuWinTest, KeysGoOutAsTheirVirtualKeyCodes) {
    Probe downs;
    Probe ups;
    TZuButton& button = MakeButton(10, 10);
    button.OnKeyDown = downs.Point();
    button.OnKeyUp = ups.Point();
    button.Init();
    ShowWindows();
    SetFocus(button.Control->Handle);

    testdriver::PressKey('A');
    testdriver::PressKey(VK_F5);

    EXPECT_EQ(Integers(downs), (std::vector<std::int32_t>{'A', VK_F5}));
    EXPECT_EQ(Integers(ups), (std::vector<std::int32_t>{'A', VK_F5}));
}

TEST_F(TZuWinTest, DoubleClickFiresWithoutAValue) {
    Probe doubles;
    TZuLabel& label = Make<TZuLabel>(form);
    label.OnDblClick = doubles.Point();
    label.Init();
    ShowWindows();

    testdriver::DoubleClick(label.Control->Handle, 3, 3);

    ASSERT_EQ(doubles.Values.size(), 1u);
    EXPECT_EQ(doubles.Values[0].Tag, TagNone);
}

} // namespace
