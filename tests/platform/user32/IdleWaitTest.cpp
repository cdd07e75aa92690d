// An idle message loop under the real clock: WaitMessage sleeps between the ticks of a
// one-second timer instead of polling.

#include "platform/testing.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

int ticks = 0;

void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) {
    ++ticks;
}

double ProcessorSeconds() {
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

TEST(IdleWaitTest, OneSecondTimerWakesTheIdleLoopOncePerTick) {
    testdriver::Reset();
    testdriver::UseRealClock();
    ticks = 0;
    ASSERT_NE(SetTimer(nullptr, 0, 1000, CountTick), 0u);
    const auto start = std::chrono::steady_clock::now();
    const double processorAtStart = ProcessorSeconds();
    int wakeUps = 0;
    while (ticks < 3) {
        WaitMessage();
        ++wakeUps;
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            DispatchMessageA(&msg);
        }
    }
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double processor = ProcessorSeconds() - processorAtStart;
    std::printf("idle loop: %d wake-ups for %d ticks in %.3f s, %.4f s of processor time\n",
                wakeUps, ticks, elapsed, processor);
    EXPECT_GE(wakeUps, 3);
    EXPECT_LE(wakeUps, 4) << "one wake-up per tick, with room for one early return";
    EXPECT_GE(elapsed, 2.95);
    EXPECT_LT(elapsed, 3.5);
    EXPECT_LT(processor, 0.1) << "waiting must not use the processor";
    testdriver::Reset();
}

} // namespace
