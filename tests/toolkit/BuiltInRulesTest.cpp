#include <string>
#include <vector>

#include "tests/toolkit/WindowTestSupport.h"
#include "toolkit/Colors.h"
#include "toolkit/ControlTools.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

namespace {

class BuiltInRulesTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        BuildForm();
    }
};

// ---- Size ----

std::vector<TControl*> realigned;

void RecordRealign(TControl* control) {
    realigned.push_back(control);
}

TEST_F(BuiltInRulesTest, SizeKeepsTheWindowStateAndRealignsTheParentThenTheControl) {
    struct Case {
        WPARAM kind;
        std::uint8_t expectedState;
    };
    const Case cases[] = {
        {SIZE_MAXIMIZED, 2}, {SIZE_MINIMIZED, 1}, {SIZE_RESTORED, 0}, {SIZE_MAXSHOW, 0}};
    const ControlProc savedHook = RealignHook;
    RealignHook = &RecordRealign;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        realigned.clear();
        SendMessageA(list->Handle, WM_SIZE, c.kind, MAKELPARAM(50, 60));
        EXPECT_EQ(list->WindowState, c.expectedState);
        EXPECT_EQ(realigned, (std::vector<TControl*>{form, list}));
    }
    realigned.clear();
    SendMessageA(form->Handle, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(50, 60));
    EXPECT_EQ(form->WindowState, 2);
    EXPECT_TRUE(realigned.empty()) << "a form is not realigned by its own size message";
    RealignHook = savedHook;
}

// ---- Closing ----

TEST_F(BuiltInRulesTest, ClosingAnotherFormDestroysItsWindowAndFreesIt) {
    TControl* other = MakeFormControl(app, "Other");
    DestroyProbe probe;
    probe.Watch(other);
    HWND window = other->GetHandle();
    ASSERT_NE(window, nullptr);

    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(probe.Destroyed) << "a child of the application control goes with its window";
    EXPECT_EQ(app->Children->IndexOf(other), -1);
    EXPECT_EQ(testsession::PumpUntilIdle(), std::nullopt) << "no quit was asked for";
}

TEST_F(BuiltInRulesTest, AReleaseMessageFreesTheControlAndItsWindow) {
    TControl* other = MakeFormControl(app, "Other");
    DestroyProbe probe;
    probe.Watch(other);
    HWND window = other->GetHandle();
    PostMessageA(window, MsgRelease, 0, 0);
    testsession::PumpUntilIdle();
    EXPECT_TRUE(probe.Destroyed);
    EXPECT_FALSE(IsWindow(window)) << "no live window may stay bound to a freed control";
}

// ---- Show state and minimising ----

TEST_F(BuiltInRulesTest, AFormHiddenWithTheMinimisedApplicationComesBackInItsShowState) {
    struct Case {
        int formShow;
        std::uint32_t expectedSaved;
        bool zoomedAfter;
    };
    const Case cases[] = {{SW_SHOWMAXIMIZED, SW_SHOWMAXIMIZED, true},
                          {SW_SHOWNORMAL, SW_SHOWNOACTIVATE, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formShow);
        ShowWindow(form->Handle, c.formShow);
        SendMessageA(form->Handle, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
        EXPECT_EQ(form->SavedShowState, c.expectedSaved);
        EXPECT_EQ(SendMessageA(form->Handle, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING), 0);
        EXPECT_EQ(form->SavedShowState, 0u);
        EXPECT_TRUE(IsWindowVisible(form->Handle));
        EXPECT_EQ(IsZoomed(form->Handle) != FALSE, c.zoomedAfter);
    }
}

TEST_F(BuiltInRulesTest, MinimisingTheMainFormMinimisesTheApplicationWindowInstead) {
    // Restored as the user does (the system menu, the task bar), then by the program. Windows
    // documents SW_PARENTOPENING for an owner being restored either way; Wine sends it only
    // when the restore comes through WM_SYSCOMMAND.
    struct Restore {
        const char* Way;
        void (*Apply)(HWND app);
        bool ShownOnWine;
    };
    const Restore restores[] = {
        {"SC_RESTORE", [](HWND app) { SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0); }, true},
        {"ShowWindow", [](HWND app) { ShowWindow(app, SW_RESTORE); }, false},
    };
    for (const Restore& restore : restores) {
        SCOPED_TRACE(restore.Way);
        EXPECT_EQ(SendMessageA(form->Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0), 0);
        EXPECT_FALSE(IsIconic(app->Handle)) << "the command is posted to the application window";
        testsession::PumpUntilIdle();
        EXPECT_TRUE(IsIconic(app->Handle));
        EXPECT_FALSE(IsIconic(form->Handle));
        EXPECT_FALSE(IsWindowVisible(form->Handle)) << "owned windows hide with their owner";
        EXPECT_EQ(form->SavedShowState, static_cast<std::uint32_t>(SW_SHOWNOACTIVATE));

        restore.Apply(app->Handle);
        testsession::PumpUntilIdle();
        const bool shown = testsession::WindowsOrWine(true, restore.ShownOnWine);
        EXPECT_EQ(IsWindowVisible(form->Handle) != FALSE, shown);
        EXPECT_EQ(form->SavedShowState == 0, shown);
        ShowWindow(form->Handle, SW_SHOWNORMAL);
        form->SavedShowState = 0;
    }
}

// ---- Cursor ----

TEST_F(BuiltInRulesTest, TheControlCursorIsShownOverTheClientAreaUnlessTheMouseIsCaptured) {
    const HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    struct Case {
        WORD hitTest;
        bool captured;
        bool expectOwn;
    };
    const Case cases[] = {
        {HTCLIENT, false, true}, {HTCAPTION, false, false}, {HTCLIENT, true, false}};
    label->Cursor = cross;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.hitTest) + (c.captured ? " captured" : ""));
        SetCursor(arrow);
        if (c.captured) {
            SetCapture(first->Handle);
        }
        const LRESULT result =
            SendMessageA(label->Handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(label->Handle),
                         MAKELPARAM(c.hitTest, WM_MOUSEMOVE));
        EXPECT_EQ(result == 1 && GetCursor() == cross, c.expectOwn);
        ReleaseCapture();
    }
}

// ---- Colours sent back to the child ----

TEST_F(BuiltInRulesTest, AChildAboutToPaintChoosesItsOwnColours) {
    label->FontColor = RGB(200, 10, 20);
    label->SetColor(RGB(1, 2, 3));
    HDC dc = GetDC(label->Handle);
    LRESULT brush = SendMessageA(form->Handle, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(label->Handle));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(ControlBrush(label)));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetTextColor(dc), RGB(200, 10, 20));
    EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);

    label->Transparent = true;
    brush = SendMessageA(form->Handle, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(label->Handle));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    ReleaseDC(label->Handle, dc);
}

} // namespace
