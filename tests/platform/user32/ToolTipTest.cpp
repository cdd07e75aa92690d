// The tooltip control: tools added with TTF_SUBCLASS watch their window's mouse messages
// through a replaced window procedure, and the tip shows after the mouse rested for the
// initial delay, under the virtual clock.

#include "platform/testing.h"
#include "tests/platform/user32/MessageSequence.h"
#include "tests/support/ReadBack.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace sequence;

constexpr DWORD InitialDelay = 500;
constexpr DWORD AutoPopDelay = 5000;

class ToolTipTest : public testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        RegisterRecordingClass();
        InitCommonControls();
        parent = CreateWindowExA(0, RecordingClass, "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                                 100, 300, 200, nullptr, nullptr, nullptr, nullptr);
        tool = CreateWindowExA(0, RecordingClass, "tool", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50,
                               parent, nullptr, nullptr, nullptr);
        toolTip = CreateWindowExA(0, TOOLTIPS_CLASSA, "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, nullptr, nullptr);
        ASSERT_NE(toolTip, nullptr);
        testdriver::PumpUntilIdle();
    }
    void TearDown() override { testdriver::Reset(); }

    // The record the toolkit fills for a hint: the window is also the id, the area its client.
    TOOLINFOA Info(HWND window, const char* text, UINT flags = TTF_SUBCLASS) const {
        TOOLINFOA info{};
        info.cbSize = TTTOOLINFOA_V2_SIZE;
        info.uFlags = flags;
        info.hwnd = window;
        info.uId = reinterpret_cast<UINT_PTR>(window);
        GetClientRect(window, &info.rect);
        info.lpszText = const_cast<LPSTR>(text);
        return info;
    }

    LRESULT Send(UINT message, TOOLINFOA& info, WPARAM wParam = 0) {
        return SendMessageA(toolTip, message, wParam, reinterpret_cast<LPARAM>(&info));
    }

    bool TipShown() const { return readback::IsVisible(toolTip); }

    HWND parent = nullptr;
    HWND tool = nullptr;
    HWND toolTip = nullptr;
};

TEST(CommonControlsTest, InitialisationSucceedsForAWellFormedRecordOnly) {
    InitCommonControls();
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    EXPECT_TRUE(InitCommonControlsEx(&init));
    init.dwSize = 4;
    EXPECT_FALSE(InitCommonControlsEx(&init));
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
}

TEST_F(ToolTipTest, SubclassingToolsReplaceTheProcedureUntilTheLastIsDeleted) {
    const LONG_PTR original = GetWindowLongPtrA(tool, GWLP_WNDPROC);
    TOOLINFOA first = Info(tool, "first");
    TOOLINFOA second = Info(tool, "second");
    second.uId = 2;
    EXPECT_EQ(Send(TTM_ADDTOOLA, first), TRUE);
    EXPECT_NE(GetWindowLongPtrA(tool, GWLP_WNDPROC), original);
    EXPECT_EQ(Send(TTM_ADDTOOLA, second), TRUE);
    EXPECT_EQ(SendMessageA(toolTip, TTM_GETTOOLCOUNT, 0, 0), 2);
    Send(TTM_DELTOOLA, first);
    EXPECT_NE(GetWindowLongPtrA(tool, GWLP_WNDPROC), original) << "one tool still watches";
    Send(TTM_DELTOOLA, second);
    EXPECT_EQ(GetWindowLongPtrA(tool, GWLP_WNDPROC), original);
    EXPECT_EQ(SendMessageA(toolTip, TTM_GETTOOLCOUNT, 0, 0), 0);

    TOOLINFOA plain = Info(tool, "no subclass", 0);
    EXPECT_EQ(Send(TTM_ADDTOOLA, plain), TRUE);
    EXPECT_EQ(GetWindowLongPtrA(tool, GWLP_WNDPROC), original);
}

TEST_F(ToolTipTest, ShowsTheTextWhenTheMouseRestsForTheInitialDelay) {
    TOOLINFOA info = Info(tool, "Play the next track");
    Send(TTM_ADDTOOLA, info);
    testdriver::MouseMove(tool, 20, 20);
    testdriver::AdvanceClock(InitialDelay - 1);
    EXPECT_FALSE(TipShown());
    testdriver::AdvanceClock(1);
    ASSERT_TRUE(TipShown());
    EXPECT_EQ(readback::WindowText(toolTip), "Play the next track");
    // The tool's client origin is at 100 + 10 plus the parent's frame; the tip sits below the
    // mouse.
    POINT mouse{20, 20};
    ClientToScreen(tool, &mouse);
    const RECT tip = readback::WindowRect(toolTip);
    EXPECT_EQ(tip.left, mouse.x);
    EXPECT_GT(tip.top, mouse.y);
    EXPECT_GT(tip.right - tip.left, 0);
    EXPECT_GT(tip.bottom - tip.top, 0);
    EXPECT_NE(GetFocus(), toolTip);
    EXPECT_EQ(readback::ActiveWindow(), parent) << "showing the tip activates nothing";
}

TEST_F(ToolTipTest, MovingWithinTheToolRestartsTheDelayUntilTheTipShows) {
    TOOLINFOA info = Info(tool, "tip");
    Send(TTM_ADDTOOLA, info);
    testdriver::MouseMove(tool, 20, 20);
    testdriver::AdvanceClock(300);
    testdriver::MouseMove(tool, 25, 22);
    testdriver::AdvanceClock(InitialDelay - 1);
    EXPECT_FALSE(TipShown());
    testdriver::AdvanceClock(1);
    EXPECT_TRUE(TipShown());
    testdriver::MouseMove(tool, 30, 22);
    EXPECT_TRUE(TipShown()) << "moving within the tool keeps a shown tip";
}

TEST_F(ToolTipTest, LeavingClickingAndTheAutoPopHideTheTip) {
    TOOLINFOA info = Info(tool, "tip");
    Send(TTM_ADDTOOLA, info);
    struct Case {
        const char* Name;
        void (*Hide)(HWND tool, HWND parent);
        bool ReshowsWhileStaying; // resting on the tool again brings the tip back
    };
    const Case cases[] = {
        {"leaving the tool", [](HWND, HWND parent) { testdriver::MouseMove(parent, 250, 150); },
         true},
        {"clicking the tool", [](HWND tool, HWND) { testdriver::Click(tool, 20, 20); }, false},
        {"resting until the auto-pop", [](HWND, HWND) { testdriver::AdvanceClock(AutoPopDelay); },
         false},
    };
    for (const Case& test : cases) {
        testdriver::MouseMove(tool, 20, 20);
        testdriver::AdvanceClock(InitialDelay);
        ASSERT_TRUE(TipShown()) << test.Name;
        test.Hide(tool, parent);
        EXPECT_FALSE(TipShown()) << test.Name;
        testdriver::MouseMove(tool, 21, 20);
        testdriver::AdvanceClock(InitialDelay);
        EXPECT_EQ(TipShown(), test.ReshowsWhileStaying) << test.Name;
        // Leaving and coming back always starts afresh.
        testdriver::MouseMove(parent, 250, 150);
        EXPECT_FALSE(TipShown()) << test.Name;
    }
}

TEST_F(ToolTipTest, ToolAreasDecideWhereTheTipApplies) {
    TOOLINFOA left = Info(tool, "left half");
    left.uId = 1;
    left.rect = {0, 0, 50, 50};
    Send(TTM_ADDTOOLA, left);
    TOOLINFOA whole = Info(tool, "whole window", TTF_SUBCLASS | TTF_IDISHWND);
    whole.hwnd = parent;
    Send(TTM_ADDTOOLA, whole);
    testdriver::MouseMove(tool, 10, 10);
    testdriver::AdvanceClock(InitialDelay);
    EXPECT_EQ(readback::WindowText(toolTip), "left half");
    // Into the right half: another tool, so the tip waits for the delay again.
    testdriver::MouseMove(tool, 70, 10);
    EXPECT_FALSE(TipShown());
    testdriver::AdvanceClock(InitialDelay);
    EXPECT_TRUE(TipShown());
    EXPECT_EQ(readback::WindowText(toolTip), "whole window");
}

TEST_F(ToolTipTest, ToolInfoReadsBackAndUpdatedTextShowsAtOnce) {
    TOOLINFOA info = Info(tool, "first text");
    info.lParam = 0x99;
    Send(TTM_ADDTOOLA, info);
    testdriver::MouseMove(tool, 20, 20);
    testdriver::AdvanceClock(InitialDelay);

    char buffer[256];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    TOOLINFOA read = Info(tool, nullptr, 0);
    read.rect = {};
    read.lpszText = buffer;
    EXPECT_EQ(Send(TTM_GETTOOLINFOA, read), TRUE);
    EXPECT_EQ(read.uFlags, TTF_SUBCLASS);
    EXPECT_EQ(read.rect.right, 100);
    EXPECT_EQ(read.lParam, 0x99);
    EXPECT_STREQ(buffer, "first text");

    read.lpszText = const_cast<LPSTR>("second text");
    Send(TTM_UPDATETIPTEXTA, read);
    EXPECT_EQ(readback::WindowText(toolTip), "second text");
    EXPECT_TRUE(TipShown());

    // Read-back text stops at 80 bytes: the caller's buffer size is unknown.
    const std::string longText(200, 'x');
    read.lpszText = const_cast<LPSTR>(longText.c_str());
    Send(TTM_UPDATETIPTEXTA, read);
    read.lpszText = buffer;
    Send(TTM_GETTOOLINFOA, read);
    EXPECT_EQ(std::string(buffer), std::string(79, 'x'));
    EXPECT_EQ(buffer[80], '#');

    TOOLINFOA unknown = Info(parent, nullptr, 0);
    EXPECT_EQ(Send(TTM_GETTOOLINFOA, unknown), FALSE);
}

TEST_F(ToolTipTest, InactiveTooltipsAndTextlessToolsShowNothing) {
    TOOLINFOA callback = Info(tool, nullptr);
    callback.lpszText = LPSTR_TEXTCALLBACKA;
    Send(TTM_ADDTOOLA, callback);
    testdriver::MouseMove(tool, 20, 20);
    testdriver::AdvanceClock(InitialDelay);
    EXPECT_FALSE(TipShown()) << "a text callback gives no text here";

    TOOLINFOA info = Info(tool, "now with text");
    Send(TTM_UPDATETIPTEXTA, info);
    SendMessageA(toolTip, TTM_ACTIVATE, FALSE, 0);
    testdriver::MouseMove(tool, 22, 20);
    testdriver::AdvanceClock(InitialDelay);
    EXPECT_FALSE(TipShown()) << "deactivated";
    SendMessageA(toolTip, TTM_ACTIVATE, TRUE, 0);
    testdriver::MouseMove(tool, 23, 20);
    testdriver::AdvanceClock(InitialDelay);
    EXPECT_TRUE(TipShown()) << "active again";
    SendMessageA(toolTip, TTM_POP, 0, 0);
    EXPECT_FALSE(TipShown()) << "popped";
}

TEST_F(ToolTipTest, RecordsTooSmallForTheFirstLayoutAreRefused) {
    TOOLINFOA info = Info(tool, "tip");
    info.cbSize = TTTOOLINFOA_V1_SIZE - 1;
    EXPECT_EQ(Send(TTM_ADDTOOLA, info), FALSE);
    EXPECT_EQ(SendMessageA(toolTip, TTM_ADDTOOLA, 0, 0), FALSE);
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    EXPECT_EQ(Send(TTM_ADDTOOLA, info), TRUE);
    EXPECT_EQ(SendMessageA(toolTip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageA(toolTip, TTM_SETMAXTIPWIDTH, 0, 300), -1);
    EXPECT_EQ(SendMessageA(toolTip, TTM_GETMAXTIPWIDTH, 0, 0), 300);
}

TEST_F(ToolTipTest, DestroyingEitherSideLeavesNoDanglingProcedure) {
    const HWND other = CreateWindowExA(0, RecordingClass, "other", WS_CHILD | WS_VISIBLE, 150, 10,
                                       50, 50, parent, nullptr, nullptr, nullptr);
    const LONG_PTR otherOriginal = GetWindowLongPtrA(other, GWLP_WNDPROC);
    TOOLINFOA onTool = Info(tool, "tool");
    TOOLINFOA onOther = Info(other, "other");
    Send(TTM_ADDTOOLA, onTool);
    Send(TTM_ADDTOOLA, onOther);
    testdriver::MouseMove(tool, 20, 20);
    testdriver::AdvanceClock(InitialDelay);
    ASSERT_TRUE(TipShown());

    DestroyWindow(tool);
    EXPECT_FALSE(TipShown()) << "the tool's window went away";
    EXPECT_EQ(SendMessageA(toolTip, TTM_GETTOOLCOUNT, 0, 0), 2) << "tools stay until deleted";
    Send(TTM_DELTOOLA, onTool);
    EXPECT_EQ(SendMessageA(toolTip, TTM_GETTOOLCOUNT, 0, 0), 1);

    DestroyWindow(toolTip);
    EXPECT_EQ(GetWindowLongPtrA(other, GWLP_WNDPROC), otherOriginal);
    testdriver::MouseMove(other, 5, 5);
    testdriver::AdvanceClock(InitialDelay);
    EXPECT_TRUE(IsWindow(other));
}

// Subclassing on top of a tooltip's subclass: deleting the tool must not cut the later
// procedure out of the chain.
WNDPROC chainedPrevious = nullptr;
int chainedCalls = 0;
LRESULT CALLBACK ChainedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++chainedCalls;
    return CallWindowProcA(chainedPrevious, window, message, wParam, lParam);
}

TEST_F(ToolTipTest, AProcedureInstalledLaterStaysInTheChain) {
    TOOLINFOA info = Info(tool, "tip");
    Send(TTM_ADDTOOLA, info);
    chainedPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(tool, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainedProc)));
    Send(TTM_DELTOOLA, info);
    EXPECT_EQ(GetWindowLongPtrA(tool, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ChainedProc));
    chainedCalls = 0;
    Clear();
    SendMessageA(tool, WM_USER, 0, 0);
    EXPECT_EQ(chainedCalls, 1);
    ASSERT_FALSE(Log().empty());
    EXPECT_EQ(Log().back().Message, WM_USER) << "the tool's own procedure still runs";
    DestroyWindow(tool);
}

} // namespace
