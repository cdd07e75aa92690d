#include "toolkit/TTimer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "toolkit/TControl.h"

namespace {

using testdriver::ApiCall;
using testdriver::ApiFamily;

// Counts ticks; optionally frees the ticking timer from inside its own tick.
struct TickCounter {
    int Ticks = 0;
    bool FreeOnTick = false;
    TCallback Callback() { return {&TickCounter::Hit, this}; }
    static void Hit(void* context, TObj* sender) {
        auto* counter = static_cast<TickCounter*>(context);
        ++counter->Ticks;
        EXPECT_NE(dynamic_cast<TTimer*>(sender), nullptr);
        if (counter->FreeOnTick) {
            Free(sender);
        }
    }
};

class TTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        testdriver::Record(ApiFamily::Timers);
    }
    void TearDown() override {
        for (TTimer* timer : timers) {
            Free(timer);
        }
        EXPECT_EQ(TimerCount(), 0);
        EXPECT_EQ(TimerWindow(), nullptr);
    }

    TTimer* Make(std::int32_t interval) {
        timers.push_back(CreateTimer(interval));
        return timers.back();
    }

    static HWND SharedWindow() {
        return TimerWindow() != nullptr ? TimerWindow()->Handle : nullptr;
    }

    static ApiCall Set(const TTimer* timer, UINT elapse) {
        return {ApiFamily::Timers,
                "SetTimer",
                {reinterpret_cast<std::uintptr_t>(SharedWindow()),
                 reinterpret_cast<std::uintptr_t>(timer), elapse,
                 reinterpret_cast<std::uintptr_t>(&TimerProc)},
                ""};
    }
    static ApiCall Kill(const TTimer* timer) {
        return {ApiFamily::Timers,
                "KillTimer",
                {reinterpret_cast<std::uintptr_t>(SharedWindow()),
                 reinterpret_cast<std::uintptr_t>(timer)},
                ""};
    }

    std::vector<TTimer*> timers;
};

TEST_F(TTimerTest, IntervalsThatAreNotPositiveMeanOneSecond) {
    struct Case {
        std::int32_t Given;
        std::int32_t Interval;
    };
    const Case cases[] = {{0, 1000}, {-5, 1000}, {INT32_MIN, 1000}, {1, 1}, {300, 300}};
    for (const Case& c : cases) {
        TTimer* timer = Make(c.Given);
        EXPECT_EQ(timer->Interval(), c.Interval) << c.Given;
        EXPECT_FALSE(timer->Enabled());
        EXPECT_EQ(timer->TimerId(), 0u);
    }
    EXPECT_EQ(TimerCount(), 5);
    EXPECT_EQ(TimerWindow(), nullptr);
    EXPECT_TRUE(testdriver::RecordedCalls().empty());
}

TEST_F(TTimerTest, EnablingTwiceSetsOneSystemTimerOnTheSharedWindow) {
    TTimer* timer = Make(250);
    timer->SetEnabled(true);
    timer->SetEnabled(true);
    ASSERT_NE(SharedWindow(), nullptr);
    EXPECT_FALSE(IsWindowVisible(SharedWindow()));
    EXPECT_EQ(testdriver::RecordedCalls(), (std::vector<ApiCall>{Set(timer, 250)}));
    EXPECT_EQ(timer->TimerId(), reinterpret_cast<UINT_PTR>(timer));
}

TEST_F(TTimerTest, TicksCallTheCallbackWithTheTimerEveryPeriod) {
    TickCounter counter;
    TTimer* timer = Make(1000);
    timer->OnTick = counter.Callback();
    timer->SetEnabled(true);
    testdriver::AdvanceClock(3500);
    EXPECT_EQ(counter.Ticks, 3);

    timer->SetEnabled(false);
    EXPECT_EQ(timer->TimerId(), 0u);
    testdriver::AdvanceClock(5000);
    EXPECT_EQ(counter.Ticks, 3);
}

TEST_F(TTimerTest, UnboundTimerTicksHarmlessly) {
    TTimer* timer = Make(100);
    timer->SetEnabled(true);
    testdriver::AdvanceClock(1000);
    EXPECT_TRUE(timer->Enabled());
}

TEST_F(TTimerTest, NewIntervalRestartsARunningTimer) {
    TickCounter counter;
    TTimer* timer = Make(1000);
    timer->OnTick = counter.Callback();
    timer->SetEnabled(true);
    testdriver::AdvanceClock(900);
    testdriver::ClearRecordedCalls();

    timer->SetInterval(1000);
    EXPECT_TRUE(testdriver::RecordedCalls().empty());
    timer->SetInterval(400);
    EXPECT_EQ(testdriver::RecordedCalls(), (std::vector<ApiCall>{Kill(timer), Set(timer, 400)}));
    EXPECT_TRUE(timer->Enabled());
    testdriver::AdvanceClock(399);
    EXPECT_EQ(counter.Ticks, 0);
    testdriver::AdvanceClock(1);
    EXPECT_EQ(counter.Ticks, 1);
}

TEST_F(TTimerTest, NewIntervalOnAStoppedTimerOnlyStoresIt) {
    TTimer* timer = Make(1000);
    timer->SetInterval(50);
    timer->SetInterval(-1);
    EXPECT_EQ(timer->Interval(), 1000);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_TRUE(testdriver::RecordedCalls().empty());
}

TEST_F(TTimerTest, ReEnablingSetsTheSystemTimerAgain) {
    TTimer* timer = Make(200);
    timer->SetEnabled(true);
    timer->SetEnabled(false);
    timer->SetEnabled(true);
    EXPECT_EQ(testdriver::RecordedCalls(),
              (std::vector<ApiCall>{Set(timer, 200), Kill(timer), Set(timer, 200)}));
}

TEST_F(TTimerTest, TimersShareOneWindowThatGoesWithTheLastTimer) {
    TTimer* first = CreateTimer(100);
    TTimer* second = CreateTimer(100);
    first->SetEnabled(true);
    second->SetEnabled(true);
    HWND shared = SharedWindow();
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(TimerCount(), 2);

    Free(first);
    EXPECT_EQ(SharedWindow(), shared);
    EXPECT_TRUE(IsWindow(shared));
    Free(second);
    EXPECT_EQ(TimerWindow(), nullptr);
    EXPECT_FALSE(IsWindow(shared));
    EXPECT_EQ(TimerCount(), 0);

    TickCounter counter;
    TTimer* next = Make(100);
    next->OnTick = counter.Callback();
    next->SetEnabled(true);
    ASSERT_NE(SharedWindow(), nullptr);
    EXPECT_TRUE(IsWindow(SharedWindow()));
    testdriver::AdvanceClock(100);
    EXPECT_EQ(counter.Ticks, 1);
}

TEST_F(TTimerTest, FreeingARunningTimerKillsItsSystemTimer) {
    TickCounter counter;
    TTimer* keep = Make(100);
    TTimer* doomed = CreateTimer(100);
    doomed->OnTick = counter.Callback();
    keep->SetEnabled(true);
    doomed->SetEnabled(true);
    testdriver::ClearRecordedCalls();
    Free(doomed);
    EXPECT_EQ(testdriver::RecordedCalls(), (std::vector<ApiCall>{Kill(doomed)}));
    testdriver::AdvanceClock(500);
    EXPECT_EQ(counter.Ticks, 0);
}

TEST_F(TTimerTest, TimerFreedInItsOwnTickStopsCleanly) {
    TickCounter counter;
    counter.FreeOnTick = true;
    TTimer* timer = CreateTimer(100);
    timer->OnTick = counter.Callback();
    timer->SetEnabled(true);
    testdriver::AdvanceClock(1000);
    EXPECT_EQ(counter.Ticks, 1);
    EXPECT_EQ(TimerCount(), 0);
}

} // namespace
