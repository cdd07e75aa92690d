#include "elements/TZuHub.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Convert.h"
#include "core/TData.h"
#include "core/TZu_Event.h"
#include "tests/elements/LinkProbe.h"

namespace {

// Writes "<name>:<value as text>" into a shared log, then fires its own output, so a test
// sees both the order of the receivers and whether a receiver's chain ran to its end.
class Station {
public:
    Station(std::vector<std::string>& log, std::string name) : Log(log), Name(std::move(name)) {}
    void Receive(TData& value, std::uint16_t) {
        Log.push_back(Name + ":" + ValueToText(value));
        Dispatch(Next, value);
    }
    TZu_Event Point() { return MakeEvent<&Station::Receive>(this, 0); }

    std::vector<std::string>& Log;
    std::string Name;
    TZu_Event Next;
};

// Reads its text from an unbound data point with an empty default, which takes the value over.
class Consumer {
public:
    void Receive(TData& value, std::uint16_t) {
        Texts.push_back(PullString(value, Text, ""));
        Texts.push_back(PullString(value, Text, ""));
    }
    TZu_Event Point() { return MakeEvent<&Consumer::Receive>(this, 0); }

    TZu_Event Text;
    std::vector<std::string> Texts;
};

class TZuHubTest : public LinkedElementTest {
protected:
    TZuHub hub;
    TZu_Event pass = MakeEvent<&TZuHub::Pass>(&hub, 0);
    std::vector<std::string> log;
};

TEST_F(TZuHubTest, SetOutCountResizesAndKeepsTheLowEightBits) {
    const struct {
        std::uint16_t Count;
        std::uint8_t OutCount;
    } cases[] = {{0, 0}, {2, 2}, {255, 255}, {256, 0}, {300, 44}};
    for (const auto& c : cases) {
        hub.SetOutCount(c.Count);
        EXPECT_EQ(hub.OnEvent.size(), c.Count);
        EXPECT_EQ(hub.OutCount, c.OutCount);
    }
}

TEST_F(TZuHubTest, FirstReceiverFinishesItsChainBeforeTheSecondGetsTheValue) {
    Station first(log, "first");
    Station afterFirst(log, "after-first");
    Station second(log, "second");
    first.Next = afterFirst.Point();
    hub.SetOutCount(2);
    hub.OnEvent[0] = first.Point();
    hub.OnEvent[1] = second.Point();

    Send(pass, MakeInteger(42));

    EXPECT_EQ(log, (std::vector<std::string>{"first:42", "after-first:42", "second:42"}));
}

TEST_F(TZuHubTest, IgnoresPassWithoutOutputs) {
    Probe probe;
    hub.SetOutCount(256); // 256 entries, but an 8-bit count of 0
    hub.OnEvent[0] = probe.Point();

    Send(pass, MakeInteger(1));

    EXPECT_TRUE(probe.Values.empty());
}

TEST_F(TZuHubTest, SkipsUnboundOutputs) {
    Station first(log, "first");
    Station third(log, "third");
    hub.SetOutCount(3);
    hub.OnEvent[0] = first.Point();
    hub.OnEvent[2] = third.Point();

    Send(pass, MakeString("x"));

    EXPECT_EQ(log, (std::vector<std::string>{"first:x", "third:x"}));
}

TEST_F(TZuHubTest, AReceiverThatConsumesItsCopyLeavesTheNextCopyWhole) {
    Consumer consumer;
    Probe probe;
    hub.SetOutCount(2);
    hub.OnEvent[0] = consumer.Point();
    hub.OnEvent[1] = probe.Point();
    TData incoming = MakeInteger(3);

    hub.Pass(incoming, 0);

    EXPECT_EQ(consumer.Texts, (std::vector<std::string>{"3", ""}));
    ASSERT_EQ(probe.Values.size(), 1u);
    EXPECT_EQ(probe.Values[0].Tag, TagInteger);
    EXPECT_EQ(probe.Values[0].IntValue, 3);
    EXPECT_EQ(incoming.Tag, TagInteger);
}

// Sends one value back into the hub the first time it is reached.
class Echo {
public:
    Echo(std::vector<std::string>& log, TZu_Event hubInput) : Log(log), HubInput(hubInput) {}
    void Receive(TData& value, std::uint16_t) {
        Log.push_back("echo:" + ValueToText(value));
        if (!Echoed) {
            Echoed = true;
            TData inner = MakeString("inner");
            Dispatch(HubInput, inner);
        }
    }
    TZu_Event Point() { return MakeEvent<&Echo::Receive>(this, 0); }

    std::vector<std::string>& Log;
    TZu_Event HubInput;
    bool Echoed = false;
};

TEST_F(TZuHubTest, APassThatLeadsBackIntoTheHubKeepsItsOwnPosition) {
    Echo echo(log, pass);
    Station second(log, "second");
    hub.SetOutCount(2);
    hub.OnEvent[0] = echo.Point();
    hub.OnEvent[1] = second.Point();

    Send(pass, MakeString("outer"));

    EXPECT_EQ(log, (std::vector<std::string>{"echo:outer", "echo:inner", "second:inner",
                                             "second:outer"}));
}

// Shrinks the hub it belongs to while the hub is firing.
class Shrinker {
public:
    explicit Shrinker(TZuHub& hub) : Hub(hub) {}
    void Receive(TData&, std::uint16_t) { Hub.SetOutCount(0); }
    TZu_Event Point() { return MakeEvent<&Shrinker::Receive>(this, 0); }

    TZuHub& Hub;
};

TEST_F(TZuHubTest, AReceiverThatShrinksTheHubStopsTheRemainingOutputs) {
    Shrinker shrinker(hub);
    Probe probe;
    hub.SetOutCount(2);
    hub.OnEvent[0] = shrinker.Point();
    hub.OnEvent[1] = probe.Point();

    Send(pass, MakeInteger(5));

    EXPECT_TRUE(probe.Values.empty());
    EXPECT_TRUE(hub.OnEvent.empty());
}

} // namespace
