// The message queue: WM_QUIT among posted messages and timers, filters, timers and their
// procedures, default processing of WM_CLOSE and when WM_PAINT comes.

#include "tests/platform/user32/MessageQueueTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using namespace sequence;

TEST_F(MessageQueueTest, OneQuitWithTheLastCodeAfterEveryPostedMessageAndBeforeATimer) {
    SetTimer(window, 7, 10, nullptr);
    testsession::LetTimePass(50);
    MSG msg{};
    PostQuitMessage(1);
    PostMessageA(window, WM_USER, 0, 0);
    PostQuitMessage(2);
    PostMessageA(window, WM_USER + 1, 0, 0);

    std::vector<std::pair<UINT, WPARAM>> taken;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        taken.emplace_back(msg.message, msg.wParam);
    }
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_USER, 0}, {WM_USER + 1, 0}, {WM_QUIT, 2}, {WM_TIMER, 7}};
    EXPECT_EQ(taken, expected);
}

TEST_F(MessageQueueTest, QuitEndsAPeekMessageLoop) {
    PostMessageA(window, WM_USER, 0, 0);
    PostQuitMessage(5);
    PostMessageA(window, WM_USER + 2, 0, 0);
    int dispatched = 0;
    int exitCode = -1;
    for (int round = 0; round < 100 && exitCode < 0; ++round) {
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            if (msg.message == WM_QUIT) {
                exitCode = static_cast<int>(msg.wParam);
                break;
            }
            DispatchMessageA(&msg);
            ++dispatched;
        }
    }
    EXPECT_EQ(exitCode, 5);
    EXPECT_EQ(dispatched, 2);
    const Expected expected[] = {{WM_USER, Posted}, {WM_USER + 2, Posted}};
    ExpectSequence(expected, "posted messages dispatched");
}

TEST_F(MessageQueueTest, FiltersSelectByWindowAndRange) {
    const HWND child = CreateWindowExA(0, RecordingClass, "", WS_CHILD, 0, 0, 1, 1, window, nullptr,
                                       nullptr, nullptr);
    const HWND other = CreateWindowExA(0, RecordingClass, "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                       nullptr, nullptr, nullptr);
    PostMessageA(other, WM_USER, 0, 0);
    PostMessageA(child, WM_USER + 5, 0, 0);
    PostMessageA(nullptr, WM_USER + 9, 0, 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, window, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.hwnd, child) << "a window filter takes its children's messages too";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 9, WM_USER + 9, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_FALSE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE))
        << "no thread message is left";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER) << "PM_NOREMOVE left the child's message, the first "
                                       "one stays first";
}

TEST_F(MessageQueueTest, CloseDestroysThroughDefaultProcessing) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    testsession::PumpUntilIdle();
    const Expected expected[] = {
        {WM_CLOSE, Posted},
        {WM_DESTROY, Sent | DefProc},
        {WM_NCDESTROY, Sent | DefProc},
    };
    ExpectSequence(expected, "WM_CLOSE left to DefWindowProcA");
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MessageQueueTest, SystemCloseCommandSendsClose) {
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    const Expected expected[] = {
        {WM_SYSCOMMAND, Sent},
        {WM_CLOSE, Sent | DefProc},
        {WM_DESTROY, Sent | DefProc},
        {WM_NCDESTROY, Sent | DefProc},
    };
    ExpectSequence(expected, "SC_CLOSE");
}

TEST_F(MessageQueueTest, TimerQueuesAtMostOneMessageHoweverLate) {
    ASSERT_EQ(SetTimer(window, 9, 20, nullptr), 9u);
    testsession::LetTimePass(220); // ten intervals late: still one WM_TIMER
    EXPECT_EQ(Drain(), (std::vector<UINT>{WM_TIMER}));
    EXPECT_EQ(Drain(), (std::vector<UINT>{}));
}
std::vector<std::pair<HWND, UINT_PTR>> timerCalls;

void CALLBACK NoteTimerCall(HWND hwnd, UINT message, UINT_PTR id, DWORD) {
    EXPECT_EQ(message, WM_TIMER);
    timerCalls.emplace_back(hwnd, id);
}

TEST_F(MessageQueueTest, TimerProcedureIsCalledAndTheWindowNeverSeesItsMessage) {
    timerCalls.clear();
    ASSERT_EQ(SetTimer(window, 3, 50, NoteTimerCall), 3u);
    const UINT_PTR threadTimer = SetTimer(nullptr, 0, 50, NoteTimerCall);
    EXPECT_NE(threadTimer, 0u) << "a timer without a window gets an id of its own";
    const UINT_PTR otherThreadTimer = SetTimer(nullptr, 0, 50, NoteTimerCall);
    EXPECT_NE(otherThreadTimer, threadTimer);
    testsession::LetTimePass(100);
    testsession::PumpUntilIdle();
    KillTimer(window, 3);
    KillTimer(nullptr, threadTimer);
    KillTimer(nullptr, otherThreadTimer);
    EXPECT_EQ(timerCalls.size(), 3u);
    EXPECT_NE(std::find(timerCalls.begin(), timerCalls.end(), std::make_pair(window, UINT_PTR{3})),
              timerCalls.end());
    EXPECT_TRUE(Log().empty()) << "the window procedure saw the timer's message";

    // A WM_TIMER posted by anyone with a procedure address: Windows documents that
    // DispatchMessageA calls the procedure, and Wine does; our layer calls only the procedures of
    // its own timers' messages, so a posted message cannot make it jump to any address.
    timerCalls.clear();
    PostMessageA(window, WM_TIMER, 99, reinterpret_cast<LPARAM>(NoteTimerCall));
    testsession::PumpUntilIdle();
    EXPECT_EQ(timerCalls.size(), testsession::RunningOnOwnLayer() ? 0u : 1u);
}

TEST_F(MessageQueueTest, PaintComesOnlyWhenSomethingIsInvalid) {
    EXPECT_EQ(Drain(), (std::vector<UINT>{})) << "hidden windows have nothing to paint";
    ShowWindow(window, SW_SHOWNA);
    testsession::PumpUntilIdle();
    // Windows may erase a window it shows at once (Wine does) or in the first paint (ours does).
    const Expected erasedInPaint[] = {
        {WM_SHOWWINDOW, Sent}, {WM_WINDOWPOSCHANGING, Sent},    {WM_WINDOWPOSCHANGED, Sent},
        {WM_PAINT, Posted},    {WM_ERASEBKGND, Sent | DefProc},
    };
    const Expected erasedAtOnce[] = {
        {WM_SHOWWINDOW, Sent},       {WM_WINDOWPOSCHANGING, Sent}, {WM_ERASEBKGND, Sent},
        {WM_WINDOWPOSCHANGED, Sent}, {WM_PAINT, Posted},
    };
    if (testsession::RunningOnOwnLayer()) {
        ExpectSequence(erasedInPaint, "shown");
    } else {
        ExpectSequence(erasedAtOnce, "shown");
    }
    RECT part{5, 5, 10, 10};
    InvalidateRect(window, &part, FALSE);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(window, &update, FALSE));
    EXPECT_EQ(update.right, 10);
    UpdateWindow(window);
    const Expected painted[] = {{WM_PAINT, Sent}};
    ExpectSequence(painted, "UpdateWindow paints at once");
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
}

} // namespace
