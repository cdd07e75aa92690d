// The message queue under the test driver: input and timers on the virtual clock, translation
// of typed keys, scripted message loops, signals that end the session, and other modules'
// deadlines (POSIX only).

#include "platform/posix/kernel32/clock.h"
#include "platform/posix/testing/driver_hooks.h"
#include "platform/posix/user32/input.h"
#include "platform/posix/user32/wakeup.h"
#include "platform/testing.h"
#include "tests/platform/user32/MessageQueueTest.h"

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

namespace {

using namespace sequence;

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

TEST_F(MessageQueueTest, WaitingUnderAScriptedLoopMovesTheClockToTheNextTimer) {
    ASSERT_EQ(SetTimer(window, 9, 100, nullptr), 9u);
    WaitMessage();
    EXPECT_EQ(testdriver::Now(), 100u);
    EXPECT_EQ(Drain(), (std::vector<UINT>{WM_TIMER}));
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
