// The main form element under the test driver: the pixels it paints, dragging it by its client
// area, and a scripted run of the message loop (POSIX only).

#include "elements/TZuMainForm.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "core/TData.h"
#include "core/TInitMan.h"
#include "elements/TZuButton.h"
#include "platform/testing.h"
#include "tests/elements/LinkProbe.h"
#include "tests/elements/TZuMainFormTest.h"
#include "tests/support/ReadBack.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/TControl.h"

namespace {

TEST_F(TZuMainFormTest, PaintingFiresTheWindowHandleAndDrawsTheBackgroundImage) {
    Probe painted;
    TZuMainForm& main = MakeMainForm();
    main.OnPaint = painted.Point();
    main.Init();
    Start();
    const HWND window = main.Control->Handle;
    ASSERT_FALSE(painted.Values.empty());
    const auto handle = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
    EXPECT_EQ(painted.Values.back().Tag, TagInteger);
    EXPECT_EQ(static_cast<std::uint32_t>(painted.Values.back().IntValue), handle);

    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP image = CreateCompatibleBitmap(screen, 10, 10);
    HGDIOBJ previous = SelectObject(memory, image);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const RECT all{0, 0, 10, 10};
    FillRect(memory, &all, red);
    SelectObject(memory, previous);
    main.BackgroundImage = image;
    main.Control->Invalidate();
    testdriver::PumpUntilIdle();

    EXPECT_EQ(testdriver::ClientPixel(window, 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(testdriver::ClientPixel(window, 15, 15), GetSysColor(COLOR_BTNFACE));
    main.BackgroundImage = nullptr;
    DeleteObject(red);
    DeleteObject(image);
    DeleteDC(memory);
    ReleaseDC(window, screen);
}

TEST_F(TZuMainFormTest, DraggingTheClientAreaMovesTheWindowButAChildDoesNot) {
    Probe downs;
    Probe clicks;
    TZuMainForm& main = MakeMainForm();
    main.OnMouseDown = downs.Point();
    TZuButton& button = Make<TZuButton>(main.Control);
    button.Left = 100;
    button.Top = 50;
    button.OnClick = clicks.Point();
    main.Init();
    button.Init();
    Start();
    const HWND window = main.Control->Handle;
    const RECT before = readback::WindowRect(window);

    testdriver::Drag(button.Control->Handle, 5, 5, 45, 25);
    const RECT afterChild = readback::WindowRect(window);
    EXPECT_EQ(afterChild.left, before.left);
    EXPECT_EQ(afterChild.top, before.top);
    EXPECT_TRUE(downs.Values.empty());

    // The system moves a window only while the left button is down.
    testdriver::Drag(window, 10, 10, 50, 30, testdriver::MouseButton::Right);
    testdriver::MouseMove(window, 70, 70);
    const RECT afterRight = readback::WindowRect(window);
    EXPECT_EQ(afterRight.left, before.left);
    EXPECT_EQ(afterRight.top, before.top);

    testdriver::Drag(window, 10, 10, 50, 30);
    const RECT afterForm = readback::WindowRect(window);
    EXPECT_EQ(afterForm.left, before.left + 40);
    EXPECT_EQ(afterForm.top, before.top + 20);
    ASSERT_EQ(downs.Values.size(), 2u);
    EXPECT_EQ(downs.Values[0].IntValue, 1);
    EXPECT_EQ(downs.Values[1].IntValue, 0);
}

TEST_F(TZuMainFormTest, TheMessageLoopRunsUntilTheMainWindowIsClosed) {
    Probe closed;
    TZuMainForm& main = MakeMainForm();
    main.OnClose = closed.Point();
    main.Init();
    MainControl->SetVisible(true);
    RunInitProcs(&initProcs);
    testdriver::AddIdleStep([&main] { PostMessageA(main.Control->Handle, WM_CLOSE, 0, 0); });

    RunMessageLoop(MainControl);

    EXPECT_FALSE(testdriver::Stalled());
    EXPECT_EQ(MainControl, nullptr);
    EXPECT_EQ(closed.Values.size(), 1u);
    EXPECT_EQ(main.Control, nullptr);
}

} // namespace
