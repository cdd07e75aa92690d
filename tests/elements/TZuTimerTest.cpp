#include "elements/TZuTimer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LinkProbe.h"
#include "platform/testing.h"
#include "toolkit/TTimer.h"

namespace {

// Records the order of the timer's outputs as text: "T" for OnTimer, "S" for OnStop.
class OrderProbe {
public:
    void Timer(TData&, std::uint16_t) { Order += 'T'; }
    void Stop(TData&, std::uint16_t) { Order += 'S'; }
    std::string Order;
};

class TZuTimerTest : public LinkedElementTest {
protected:
    void SetUp() override {
        testdriver::Reset();
        LinkedElementTest::SetUp();
    }

    void Wire(TZuTimer& element) {
        element.OnTimer = MakeEvent<&OrderProbe::Timer>(&probe, 0);
        element.OnStop = MakeEvent<&OrderProbe::Stop>(&probe, 0);
    }

    OrderProbe probe;
};

TEST_F(TZuTimerTest, StartsDisabledWithOneSecondAndNoLimit) {
    TZuTimer element;
    EXPECT_FALSE(element.Timer()->Enabled());
    EXPECT_EQ(element.Timer()->Interval(), 1000);
    EXPECT_EQ(element.StopAfter(), 0);
    EXPECT_EQ(element.TicksLeft(), 0);
}

TEST_F(TZuTimerTest, TickLimitFiresOnTimerThatOftenThenOnStopOnce) {
    TZuTimer element;
    Wire(element);
    element.SetInterval(100);
    element.SetStopAfter(3);
    element.SetEnabled(true);
    testdriver::AdvanceClock(1000);
    EXPECT_EQ(probe.Order, "TTTS");
    EXPECT_FALSE(element.Timer()->Enabled());
    EXPECT_EQ(element.TicksLeft(), 0);
}

TEST_F(TZuTimerTest, NoLimitTicksOnWithoutStopping) {
    struct Case {
        std::int32_t StopAfter;
    };
    for (const Case c : {Case{0}, Case{-4}}) {
        probe.Order.clear();
        TZuTimer element;
        Wire(element);
        element.SetInterval(100);
        element.SetStopAfter(c.StopAfter);
        element.SetEnabled(true);
        testdriver::AdvanceClock(500);
        EXPECT_EQ(probe.Order, "TTTTT") << c.StopAfter;
        EXPECT_TRUE(element.Timer()->Enabled());
        EXPECT_LT(element.TicksLeft(), 0);
    }
}

TEST_F(TZuTimerTest, StoppedTimerEnabledAgainTicksWithoutLimit) {
    TZuTimer element;
    Wire(element);
    element.SetInterval(100);
    element.SetStopAfter(1);
    element.SetEnabled(true);
    testdriver::AdvanceClock(300);
    EXPECT_EQ(probe.Order, "TS");
    element.SetEnabled(true);
    testdriver::AdvanceClock(300);
    EXPECT_EQ(probe.Order, "TSTTT");
}

// A receiver of OnTimer that sets a new limit on the element it hears from.
struct Extender {
    TZuTimer* Element = nullptr;
    void Timer(TData&, std::uint16_t) {
        if (Element->TicksLeft() == 0) {
            Element->SetStopAfter(2);
            Element->SetEnabled(true);
        }
    }
};

TEST_F(TZuTimerTest, LimitIsReadAgainAfterOnTimerReturns) {
    TZuTimer element;
    Extender extender{&element};
    element.OnTimer = MakeEvent<&Extender::Timer>(&extender, 0);
    element.OnStop = MakeEvent<&OrderProbe::Stop>(&probe, 0);
    element.SetInterval(100);
    element.SetStopAfter(1);
    element.SetEnabled(true);
    testdriver::AdvanceClock(100);
    EXPECT_EQ(probe.Order, "");
    EXPECT_TRUE(element.Timer()->Enabled());
    EXPECT_EQ(element.TicksLeft(), 2);
}

TEST_F(TZuTimerTest, DestructionFreesTheTimer) {
    {
        TZuTimer element;
        element.SetEnabled(true);
        EXPECT_EQ(TimerCount(), 1);
    }
    EXPECT_EQ(TimerCount(), 0);
    EXPECT_EQ(TimerWindow(), nullptr);
}

} // namespace
