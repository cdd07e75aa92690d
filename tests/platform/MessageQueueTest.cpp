// The message queue: retrieval order, WM_QUIT, timers, translation, default processing of
// WM_CLOSE, scripted message loops and the end of the session.

#include "platform/posix/clock.h"
#include "platform/posix/driver_hooks.h"
#include "platform/posix/input.h"
#include "platform/posix/wakeup.h"
#include "platform/testing.h"
#include "tests/platform/MessageSequence.h"

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

namespace {

using namespace sequence;

class MessageQueueTest : public testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        RegisterRecordingClass();
        window = CreateWindowExA(0, RecordingClass, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        Clear();
    }
    void TearDown() override { testdriver::Reset(); }

    // Every message retrievable now, taken with PM_REMOVE and not dispatched.
    static std::vector<UINT> Drain() {
        std::vector<UINT> messages;
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            messages.push_back(msg.message);
            if (msg.message == WM_QUIT) {
                break;
            }
            if (msg.message == WM_PAINT) {
                ValidateRect(msg.hwnd, nullptr);
            }
        }
        return messages;
    }

    HWND window = nullptr;
};

TEST_F(MessageQueueTest, RetrievalOrderIsPostedQuitInputPaintTimer) {
    SetFocus(window);
    ShowWindow(window, SW_SHOWNA);
    testdriver::PumpUntilIdle();
    SetTimer(window, 1, 10, nullptr);
    posix::AdvanceVirtualClock(10);
    InvalidateRect(window, nullptr, FALSE);
    posix::QueueKey('A', true);
    ASSERT_TRUE(PostMessageA(window, WM_USER, 0, 0));
    PostQuitMessage(3);
    ASSERT_TRUE(PostMessageA(window, WM_USER + 1, 0, 0));
    EXPECT_EQ(Drain(), (std::vector<UINT>{WM_USER, WM_USER + 1, WM_QUIT}));
    EXPECT_EQ(Drain(), (std::vector<UINT>{WM_KEYDOWN, WM_PAINT, WM_TIMER}));
}

TEST_F(MessageQueueTest, OneQuitWithTheLastCodeAfterEveryPostedMessageAndBeforeATimer) {
    SetTimer(window, 7, 10, nullptr);
    posix::AdvanceVirtualClock(10);
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
    testdriver::PumpUntilIdle();
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
    ASSERT_EQ(SetTimer(window, 9, 100, nullptr), 9u);
    // Under a scripted loop, waiting moves the clock to the timer.
    WaitMessage();
    ASSERT_EQ(testdriver::Now(), 100u);
    // Ten intervals late: still one WM_TIMER.
    posix::AdvanceVirtualClock(1000);
    EXPECT_EQ(Drain(), (std::vector<UINT>{WM_TIMER}));
    EXPECT_EQ(Drain(), (std::vector<UINT>{}));
}

TEST_F(MessageQueueTest, AdvancingTheClockFiresTimersInOrderAndAsOftenAsDue) {
    SetTimer(window, 1, 300, nullptr);
    SetTimer(window, 2, 500, nullptr);
    testdriver::AdvanceClock(1000);
    std::vector<WPARAM> fired;
    for (const Recorded& entry : Log()) {
        if (entry.Message == WM_TIMER) {
            fired.push_back(entry.WParamValue);
        }
    }
    // 300 600 900 for the first, 500 1000 for the second.
    EXPECT_EQ(fired, (std::vector<WPARAM>{1, 2, 1, 1, 2}));
    EXPECT_EQ(testdriver::Now(), 1000u);
}

TEST_F(MessageQueueTest, SettingAnExistingTimerRestartsItAndKillingItRemovesADueMessage) {
    ASSERT_EQ(SetTimer(window, 4, 100, nullptr), 4u);
    testdriver::AdvanceClock(60);
    ASSERT_EQ(SetTimer(window, 4, 100, nullptr), 4u) << "same id answers the id";
    testdriver::AdvanceClock(60);
    EXPECT_TRUE(Log().empty()) << "restarted at 60, not due at 120";
    testdriver::AdvanceClock(40);
    const Expected fired[] = {{WM_TIMER, Posted | WParam, 4}};
    ExpectSequence(fired, "due at 160");

    posix::AdvanceVirtualClock(100); // the timer is due at 260
    ASSERT_TRUE(KillTimer(window, 4));
    EXPECT_EQ(Drain(), (std::vector<UINT>{})) << "a killed timer leaves no WM_TIMER behind";
    EXPECT_FALSE(KillTimer(window, 4));
}

TEST_F(MessageQueueTest, TimerProcedureIsCalledAndTheWindowNeverSeesItsMessage) {
    static std::vector<std::pair<HWND, UINT_PTR>> calls;
    calls.clear();
    const TIMERPROC proc = [](HWND hwnd, UINT message, UINT_PTR id, DWORD) {
        EXPECT_EQ(message, WM_TIMER);
        calls.emplace_back(hwnd, id);
    };
    ASSERT_EQ(SetTimer(window, 3, 50, proc), 3u);
    const UINT_PTR threadTimer = SetTimer(nullptr, 0, 50, proc);
    EXPECT_NE(threadTimer, 0u) << "a timer without a window gets an id of its own";
    EXPECT_NE(SetTimer(nullptr, 0, 50, proc), threadTimer);
    testdriver::AdvanceClock(50);
    EXPECT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls.front(), std::make_pair(window, UINT_PTR{3}));
    EXPECT_TRUE(Log().empty()) << "the window procedure saw the timer's message";

    // A WM_TIMER posted by anyone with a procedure address calls nothing.
    calls.clear();
    PostMessageA(window, WM_TIMER, 99, reinterpret_cast<LPARAM>(proc));
    testdriver::PumpUntilIdle();
    EXPECT_TRUE(calls.empty());
}

TEST_F(MessageQueueTest, TranslateMakesCharactersFromKeys) {
    struct Case {
        int Key;
        bool Shift;
        WPARAM Character; // 0: none
    };
    const Case cases[] = {
        {'A', false, 'a'},         {'A', true, 'A'},       {'7', true, '&'},
        {VK_RETURN, false, '\r'},  {VK_ESCAPE, false, 27}, {VK_BACK, false, 8},
        {VK_TAB, false, '\t'},     {VK_SPACE, false, ' '}, {VK_LEFT, false, 0},
        {VK_OEM_MINUS, true, '_'},
    };
    SetFocus(window);
    for (const Case& test : cases) {
        Clear();
        if (test.Shift) {
            testdriver::KeyDown(VK_SHIFT);
        }
        testdriver::PressKey(test.Key);
        if (test.Shift) {
            testdriver::KeyUp(VK_SHIFT);
        }
        std::vector<WPARAM> characters;
        for (const Recorded& entry : Log()) {
            if (entry.Message == WM_CHAR) {
                characters.push_back(entry.WParamValue);
            }
        }
        const std::vector<WPARAM> expected =
            test.Character != 0 ? std::vector<WPARAM>{test.Character} : std::vector<WPARAM>{};
        EXPECT_EQ(characters, expected) << "key " << test.Key;
    }
}

TEST_F(MessageQueueTest, KeyMessagesAndCharacterComeInOrder) {
    SetFocus(window);
    Clear();
    testdriver::PressKey('Q');
    const Expected expected[] = {
        {WM_KEYDOWN, Posted | WParam, 'Q'},
        {WM_CHAR, Posted | WParam, 'q'},
        {WM_KEYUP, Posted | WParam, 'Q'},
    };
    ExpectSequence(expected, "key pressed");
}

TEST_F(MessageQueueTest, ScriptedLoopRunsIdleStepsAndMovesTheClockToTimers) {
    static int ticks = 0;
    ticks = 0;
    SetTimer(window, 1, 1000, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    testdriver::AddIdleStep([this] { PostMessageA(window, WM_USER, 0, 0); });
    testdriver::AddIdleStep([] { testdriver::AdvanceClock(0); });
    testdriver::SetIdlePeriod(3000);
    // A real message loop: GetMessageA blocks in WaitMessage until the script is done.
    MSG msg{};
    int loops = 0;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && ++loops < 100) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_TRUE(testdriver::Stalled()) << "the loop ended because nothing more could come";
    EXPECT_EQ(ticks, 3) << "ticks at 1000, 2000 and 3000 within the idle period";
    EXPECT_EQ(testdriver::Now(), 3000u);
    EXPECT_EQ(testdriver::PendingIdleSteps(), 0u);
}

TEST_F(MessageQueueTest, EndOfSessionReachesEveryTopLevelWindowFromTheLoop) {
    const HWND second = CreateWindowExA(0, RecordingClass, "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200,
                                        nullptr, nullptr, nullptr, nullptr);
    struct Case {
        int Signal;
        LPARAM Reason;
    };
    const Case cases[] = {{SIGTERM, 0}, {SIGHUP, ENDSESSION_LOGOFF}};
    for (const Case& test : cases) {
        Clear();
        ASSERT_EQ(std::raise(test.Signal), 0);
        EXPECT_TRUE(Log().empty()) << "nothing is sent from the signal handler";
        const std::optional<int> quit = testdriver::PumpUntilIdle();
        std::vector<HWND> told;
        for (const Recorded& entry : Log()) {
            if (entry.Message == WM_ENDSESSION) {
                EXPECT_NE(entry.WParamValue, 0u);
                EXPECT_EQ(entry.LParamValue, test.Reason) << test.Signal;
                told.push_back(entry.Window);
            }
        }
        EXPECT_EQ(told.size(), 2u) << test.Signal;
        EXPECT_NE(std::find(told.begin(), told.end(), second), told.end());
        EXPECT_EQ(quit, std::optional<int>(0)) << "the loop is asked to end";
    }
}

TEST_F(MessageQueueTest, PaintComesOnlyWhenSomethingIsInvalid) {
    EXPECT_EQ(Drain(), (std::vector<UINT>{})) << "hidden windows have nothing to paint";
    ShowWindow(window, SW_SHOWNA);
    testdriver::PumpUntilIdle();
    const Expected shown[] = {
        {WM_SHOWWINDOW, Sent},
        {WM_WINDOWPOSCHANGING, Sent},
        {WM_WINDOWPOSCHANGED, Sent},
        {WM_PAINT, Posted},
        {WM_ERASEBKGND, Sent | DefProc},
    };
    ExpectSequence(shown, "shown");
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

// A module with a moment of its own (an audio play ending at 1500 ms) is served at that very
// moment by the driver's clock, between timer ticks.
std::optional<std::uint64_t> moment;
std::vector<std::uint64_t> served;

TEST_F(MessageQueueTest, DriverStopsAtDeadlinesOfOtherModulesAndRunsTheirWakeHandlers) {
    moment = 1500;
    served.clear();
    posix::AddDeadlineSource([] { return moment; });
    posix::AddWakeHandler([] {
        if (moment && posix::NowMs() >= *moment) {
            served.push_back(posix::NowMs());
            moment.reset();
        }
    });
    SetTimer(window, 1, 1000, nullptr);
    testdriver::AdvanceClock(3000);
    EXPECT_EQ(served, (std::vector<std::uint64_t>{1500}));
    std::vector<std::uint64_t> ticks;
    for (const Recorded& entry : Log()) {
        if (entry.Message == WM_TIMER) {
            ticks.push_back(entry.Message);
        }
    }
    EXPECT_EQ(ticks.size(), 3u);

    // A wake-up from another thread is served before the queue is read.
    moment = 0;
    posix::WakeMessageLoop();
    MSG msg{};
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_EQ(served, (std::vector<std::uint64_t>{1500, 3000}));
}

} // namespace
