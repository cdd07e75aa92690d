#include "elements/TZuMainForm.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/TData.h"
#include "core/TInitMan.h"
#include "core/TZu_Event.h"
#include "elements/TZuButton.h"
#include "tests/elements/LinkProbe.h"
#include "tests/elements/TZuMainFormTest.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/TControl.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

namespace {

// ---- Construction and Init -----------------------------------------------------------------

TEST_F(TZuMainFormTest, TheFirstFormMakesTheApplicationControlAndTheNextOneSharesIt) {
    TZuMainForm& main = MakeMainForm();
    TControl* app = MainControl;
    TZuMainForm& second = Make<TZuMainForm>(nullptr);

    ASSERT_NE(app, nullptr);
    EXPECT_EQ(MainControl, app);
    EXPECT_TRUE(main.OwnsMainControl);
    EXPECT_FALSE(second.OwnsMainControl);
    EXPECT_EQ(app->Children->Get(0), main.Control);
    EXPECT_EQ(second.Control->Parent, app);
    EXPECT_EQ(main.Control->KindName, "Form");
    EXPECT_EQ(main.Control->Border, 0);
    EXPECT_EQ(initProcs.ProcCount, 2);

    const LOGFONTA font = FontOf(main.Control);
    EXPECT_EQ(std::string(font.lfFaceName), "MS Sans Serif");
    EXPECT_EQ(font.lfHeight, -11);
}

TEST_F(TZuMainFormTest, InitTakesTheFontSizeAsItIsAndRunsTheHookLast) {
    TZuMainForm& main = MakeMainForm();
    main.Font = MakeFontRec("Arial", 8, 0, 0x0000FF, 1);
    hooks.Watched = main.Control;
    main.InitHook = {&HookLog::Init, &hooks};
    main.Init();

    const LOGFONTA font = FontOf(main.Control);
    EXPECT_EQ(font.lfHeight, 8);
    EXPECT_EQ(std::string(font.lfFaceName), "Arial");
    EXPECT_EQ(main.Control->FontColor, 0x0000FFu);
    EXPECT_EQ(hooks.InitCalls, 1);
    EXPECT_EQ(hooks.WidthAtInitHook, 335);
}

TEST_F(TZuMainFormTest, TheMainWindowWaitsForTheStartAndASecondFormShowsAtInit) {
    TZuMainForm& main = MakeMainForm();
    main.Init();
    EXPECT_EQ(main.Control->Handle, nullptr);

    Start();
    EXPECT_TRUE(readback::IsVisible(main.Control->Handle));
    TZuMainForm& second = Make<TZuMainForm>(nullptr);
    second.Init();
    ASSERT_NE(second.Control->Handle, nullptr);
    EXPECT_TRUE(readback::IsVisible(second.Control->Handle));
    EXPECT_EQ(GetFocus(), second.Control->Handle);
}

TEST_F(TZuMainFormTest, ASecondFormWithoutAnIconTakesTheMainWindowsIcon) {
    const HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    TZuMainForm& main = MakeMainForm();
    main.SetIcon(icon);
    main.Init();
    TZuMainForm& second = Make<TZuMainForm>(nullptr);
    second.Init();

    EXPECT_TRUE(main.HasIcon);
    EXPECT_FALSE(second.HasIcon);
    EXPECT_EQ(main.Control->Icon, icon);
    EXPECT_EQ(MainControl->Icon, icon);
    EXPECT_EQ(second.Control->Icon, icon);
}

TEST_F(TZuMainFormTest, AFormDestroyedBeforeTheStartIsNotStarted) {
    Probe created;
    {
        TZuMainForm gone(nullptr);
        gone.OnCreate = created.Point();
    }
    RunInitProcs(&initProcs);
    EXPECT_TRUE(created.Values.empty());
}

// ---- Properties set through operations -----------------------------------------------------

TEST_F(TZuMainFormTest, BorderStylesOnlyRemoveAndAddTheirBits) {
    const struct {
        std::uint8_t Style;
        DWORD Removed;
        DWORD Added;
    } cases[] = {
        {0, 0xC00000 | 0x40000, 0},
        {1, 0x40000, 0},
        {2, 0, 0},
        {3, 0x40000 | 0x10000 | 0x20000, 0x1 | 0x100},
        {4, 0x40000 | 0x10000 | 0x20000, 0x80},
        {5, 0x10000 | 0x20000, 0x80},
        {6, 0xC00000 | 0x40000, 0x1},
        {7, 0xC00000, 0},
        {8, 0, 0},
        {255, 0, 0},
    };
    for (const auto& c : cases) {
        TZuMainForm& main = MakeMainForm();
        main.Init();
        const HWND window = main.Control->GetHandle();
        const DWORD style = main.Control->Style;
        const DWORD exStyle = main.Control->ExStyle;
        main.SetBorderStyle(c.Style);
        EXPECT_EQ(main.Control->Style, style & ~c.Removed) << int{c.Style};
        EXPECT_EQ(main.Control->ExStyle, exStyle | c.Added) << int{c.Style};
        // The window follows; the system decides about the window edge by itself.
        EXPECT_EQ(readback::Style(window) & c.Removed, 0u) << int{c.Style};
        const DWORD added = c.Added & ~DWORD{WS_EX_WINDOWEDGE};
        EXPECT_EQ(readback::ExStyle(window) & added, added) << int{c.Style};
        if (c.Style == 3) {
            // The player's window: caption and system menu stay.
            EXPECT_EQ(readback::Style(window) & (WS_CAPTION | WS_SYSMENU),
                      DWORD{WS_CAPTION | WS_SYSMENU});
        }
    }
}

TEST_F(TZuMainFormTest, CaptionIconAndTaskbarReachTheApplicationWindowOnlyFromItsOwner) {
    TZuMainForm& main = MakeMainForm();
    main.Init();
    TZuMainForm& second = Make<TZuMainForm>(nullptr);
    second.Init();
    const DWORD appExStyle = MainControl->ExStyle;

    main.SetCaption("Kestrin Media Player");
    second.SetCaption("Second");
    EXPECT_EQ(main.Control->WindowText(), "Kestrin Media Player");
    EXPECT_EQ(second.Control->WindowText(), "Second");
    EXPECT_EQ(MainControl->WindowText(), "Kestrin Media Player");

    second.HideFromTaskbar(1);
    main.HideFromTaskbar(0);
    main.HideFromTaskbar(2);
    EXPECT_EQ(MainControl->ExStyle, appExStyle);
    main.HideFromTaskbar(1);
    EXPECT_EQ(MainControl->ExStyle, 0x81u);
}

// ---- Start-up and showing ------------------------------------------------------------------

TEST_F(TZuMainFormTest, StartUpFiresCreateAndShowsAndKeepsHiddenChildrenHidden) {
    Probe created;
    Probe shown;
    TZuMainForm& main = MakeMainForm();
    main.OnCreate = created.Point();
    main.OnShow = shown.Point();
    TZuButton& hidden = Make<TZuButton>(main.Control);
    hidden.Visible = false;
    TZuButton& visible = Make<TZuButton>(main.Control);
    visible.Left = 80;
    main.Init();
    hidden.Init();
    visible.Init();

    Start();

    EXPECT_EQ(created.Values.size(), 1u);
    EXPECT_GE(shown.Values.size(), 1u);
    EXPECT_EQ(hooks.Flags, std::vector<int>{0});
    EXPECT_TRUE(main.FirstShowDone);
    EXPECT_FALSE(readback::IsVisible(hidden.Control->Handle));
    EXPECT_TRUE(readback::IsVisible(visible.Control->Handle));
}

TEST_F(TZuMainFormTest, WindowStateIsAppliedAtTheFirstShowOnly) {
    const struct {
        std::uint8_t State;
        bool Minimized;
        bool Maximized;
    } cases[] = {{0, false, false}, {1, true, false}, {2, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int{c.State});
        TearDown();
        SetUp();
        TZuMainForm& main = MakeMainForm();
        main.WindowState = c.State;
        main.Init();
        Start();
        const HWND window = main.Control->Handle;
        EXPECT_EQ(IsIconic(window) != FALSE, c.Minimized);
        EXPECT_EQ(IsZoomed(window) != FALSE, c.Maximized);

        ShowWindow(window, SW_RESTORE);
        ShowWindow(window, SW_HIDE);
        ShowWindow(window, SW_SHOW);
        testsession::PumpUntilIdle();
        EXPECT_FALSE(IsIconic(window));
        EXPECT_FALSE(IsZoomed(window));
        EXPECT_EQ(hooks.Flags, std::vector<int>{0});
        hooks.Flags.clear();
    }
}

// ---- Window messages -----------------------------------------------------------------------

TEST_F(TZuMainFormTest, TheApplicationWindowFollowsMovesAndSizes) {
    Probe moved;
    Probe resized;
    TZuMainForm& main = MakeMainForm();
    main.OnMove = moved.Point();
    main.OnResize = resized.Point();
    main.Init();
    Start();
    moved.Values.clear();
    resized.Values.clear();

    main.Control->SetPosition(50, 60);
    main.Control->SetSize(400, 200);
    testsession::PumpUntilIdle();

    const RECT app = MainControl->GetBoundsRect();
    EXPECT_EQ(app.left, 50);
    EXPECT_EQ(app.top, 60);
    EXPECT_EQ(MainControl->GetWidth(), 400);
    EXPECT_GE(moved.Values.size(), 1u);
    EXPECT_GE(resized.Values.size(), 1u);
}

// ---- Closing -------------------------------------------------------------------------------

TEST_F(TZuMainFormTest, ClosingTheMainWindowFiresOnCloseOnceAndEndsTheLoop) {
    Probe closed;
    TZuMainForm& main = MakeMainForm();
    main.OnClose = closed.Point();
    main.Init();
    Start();
    const HWND window = main.Control->Handle;

    PostMessageA(window, WM_CLOSE, 0, 0);
    const std::optional<int> exit = testsession::PumpUntilIdle();

    EXPECT_EQ(closed.Values.size(), 1u);
    EXPECT_EQ(Dispatch, &NoDispatch);
    EXPECT_EQ(main.Control, nullptr);
    EXPECT_EQ(hooks.Flags, (std::vector<int>{0, 1}));
    ASSERT_TRUE(exit.has_value());
    EXPECT_EQ(*exit, 0);
    // The element goes before the controls (the fixture's order): the control it let go of
    // must not reach it any more.
}

TEST_F(TZuMainFormTest, ANonZeroCanCloseRefusesAndLeavesEverythingAsItWas) {
    Probe closed;
    Provider refuse(MakeInteger(1));
    TZuMainForm& main = MakeMainForm();
    main.OnClose = closed.Point();
    main.CanClose = refuse.Point();
    main.Init();
    Start();
    const HWND window = main.Control->Handle;

    PostMessageA(window, WM_CLOSE, 0, 0);
    const std::optional<int> exit = testsession::PumpUntilIdle();

    EXPECT_FALSE(exit.has_value());
    EXPECT_EQ(refuse.Seen.size(), 1u);
    EXPECT_TRUE(closed.Values.empty());
    EXPECT_EQ(Dispatch, &LiveDispatch);
    EXPECT_EQ(main.Control->Handle, window);
    EXPECT_TRUE(readback::IsVisible(window));
    EXPECT_EQ(hooks.Flags, std::vector<int>{0});
}

TEST_F(TZuMainFormTest, ASecondFormOnlyHidesWhenClosed) {
    Probe closed;
    HookLog secondHooks;
    TZuMainForm& main = MakeMainForm();
    main.Init();
    Start();
    TZuMainForm& second = Make<TZuMainForm>(nullptr);
    second.OnClose = closed.Point();
    second.ShowCloseHook = {&HookLog::Flag, &secondHooks};
    second.Init();
    const HWND window = second.Control->Handle;

    PostMessageA(window, WM_CLOSE, 0, 0);
    const std::optional<int> exit = testsession::PumpUntilIdle();

    EXPECT_FALSE(exit.has_value());
    EXPECT_FALSE(readback::IsVisible(window));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(second.Control->Handle, window);
    EXPECT_TRUE(closed.Values.empty());
    EXPECT_EQ(Dispatch, &LiveDispatch);
    // 0 from its first show at Init, 1 from the close.
    EXPECT_EQ(secondHooks.Flags, (std::vector<int>{0, 1}));
}

TEST_F(TZuMainFormTest, ASecondFormThatStartedHiddenReallyCloses) {
    TZuMainForm& main = MakeMainForm();
    main.Init();
    Start();
    TZuMainForm& second = Make<TZuMainForm>(nullptr);
    second.StartHidden = true;
    second.Init();
    const HWND window = second.Control->GetHandle();

    PostMessageA(window, WM_CLOSE, 0, 0);
    const std::optional<int> exit = testsession::PumpUntilIdle();

    EXPECT_FALSE(exit.has_value());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(second.Control, nullptr);
    EXPECT_EQ(Dispatch, &LiveDispatch);
}

} // namespace
