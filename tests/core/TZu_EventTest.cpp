#include "core/TZu_Event.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/TData.h"

namespace {

// Accessors are only carried by reference here, never used, so any distinct address will do.
alignas(8) unsigned char accessorStorage[2];
ArrayAccessor* const SomeArray = reinterpret_cast<ArrayAccessor*>(&accessorStorage[0]);
MatrixAccessor* const SomeMatrix = reinterpret_cast<MatrixAccessor*>(&accessorStorage[1]);

// Records every value it receives, in order.
class Probe {
public:
    struct Call {
        TData Value;
        std::uint16_t Index;
    };

    void Receive(TData& value, std::uint16_t index) { Calls.push_back({value, index}); }

    std::vector<Call> Calls;
};

// Answers every read with a fixed value and remembers what it was handed.
class Provider {
public:
    explicit Provider(TData answer) : Answer(std::move(answer)) {}

    void Provide(TData& value, std::uint16_t) {
        Seen.push_back(value);
        value = Answer;
    }

    TData Answer;
    std::vector<TData> Seen;
};

// An input that reads its text from its (unbound) data point, as a label does.
class TextReader {
public:
    void SetText(TData& value, std::uint16_t) { Texts.push_back(PullString(value, Text, "")); }

    TZu_Event Text;
    std::vector<std::string> Texts;
};

// Forwards a copy of its input to each of its two outputs, first to second.
class Hub {
public:
    void Pass(TData& value, std::uint16_t) {
        for (const TZu_Event& output : {First, Second}) {
            TData copy = value;
            Dispatch(output, copy);
        }
    }

    TZu_Event First;
    TZu_Event Second;
};

// Asks the dispatcher to continue at Next after it has stamped the value.
class Relay {
public:
    void Receive(TData& value, std::uint16_t) {
        value.IntValue += 1;
        value.Tag |= TagForwardFlag;
        value.Forward = Next;
    }

    TZu_Event* Next = nullptr;
};

class LinkTest : public testing::Test {
protected:
    void SetUp() override { DispatchOn(); }
    void TearDown() override { DispatchOff(); }
};

TEST_F(LinkTest, FiringDeliversAFreshValueAndTheIndex) {
    Probe probe;
    const TZu_Event point = MakeEvent<&Probe::Receive>(&probe, 7);

    FireNone(point);
    FireInteger(point, -12);
    FireString(point, "abc");
    FireReal(point, 2.5);

    ASSERT_EQ(probe.Calls.size(), 4u);
    const std::uint8_t tags[] = {TagNone, TagInteger, TagString, TagReal};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(probe.Calls[i].Value.Tag, tags[i]) << i;
        EXPECT_EQ(probe.Calls[i].Index, 7) << i;
        EXPECT_EQ(probe.Calls[i].Value.Forward, nullptr) << i;
    }
    EXPECT_EQ(probe.Calls[1].Value.IntValue, -12);
    EXPECT_EQ(probe.Calls[2].Value.StrValue, "abc");
    EXPECT_EQ(probe.Calls[3].Value.RealValue, 2.5);
    EXPECT_EQ(probe.Calls[3].Value.StrValue, "");
}

TEST_F(LinkTest, UnboundOutputIsSkippedWhetherLinksAreOnOrOff) {
    Probe probe;
    const TZu_Event unbound = MakeEvent(nullptr, &probe, 1);
    FireInteger(unbound, 1);
    DispatchOff();
    FireInteger(unbound, 2);
    EXPECT_TRUE(probe.Calls.empty());
}

TEST_F(LinkTest, HookOffSilencesBoundOutputs) {
    Probe probe;
    const TZu_Event point = MakeEvent<&Probe::Receive>(&probe, 0);
    DispatchOff();
    FireInteger(point, 1);
    DispatchOn();
    FireInteger(point, 2);
    DispatchOff();
    FireInteger(point, 3);

    ASSERT_EQ(probe.Calls.size(), 1u);
    EXPECT_EQ(probe.Calls[0].Value.IntValue, 2);
}

TEST_F(LinkTest, HookOffReadsThroughBoundPointsYieldEmpty) {
    Provider provider(MakeArray(SomeArray));
    provider.Answer.IntValue = 9;
    provider.Answer.StrValue = "9";
    provider.Answer.RealValue = 9.0;
    const TZu_Event point = MakeEvent<&Provider::Provide>(&provider, 0);
    DispatchOff();

    TData received = MakeInteger(3);
    EXPECT_EQ(PullString(received, point, "default"), "");
    EXPECT_EQ(PullInteger(received, point, 5), 0);
    EXPECT_EQ(PullReal(received, point, 5.0), 0.0);
    EXPECT_EQ(PullDataDefault(received, point, nullptr).Tag, TagNone);
    EXPECT_EQ(PullArray(point), nullptr);
    PullData(received, point);

    EXPECT_TRUE(provider.Seen.empty());
    EXPECT_EQ(received.Tag, TagInteger);
    EXPECT_EQ(received.IntValue, 3);
}

TEST_F(LinkTest, BoundReadsConvertTheProvidersAnswerAndIgnoreTheDefault) {
    const struct {
        TData Answer;
        std::string Text;
        std::int32_t Integer;
        double Real;
    } cases[] = {
        {MakeString("42"), "42", 42, 42.0},
        {MakeString("1,5"), "1,5", 1, 15.0},
        {MakeInteger(-8), "-8", -8, -8.0},
        {MakeReal(2.5), "2.5", 2, 2.5},
        {TData{}, "", 0, 0.0},
    };
    for (const auto& c : cases) {
        Provider provider(c.Answer);
        const TZu_Event point = MakeEvent<&Provider::Provide>(&provider, 0);
        TData received = MakeInteger(3);

        EXPECT_EQ(PullString(received, point, "default"), c.Text);
        EXPECT_EQ(PullInteger(received, point, 11), c.Integer) << c.Text;
        EXPECT_EQ(PullReal(received, point, 11.0), c.Real) << c.Text;

        EXPECT_EQ(received.Tag, TagInteger) << c.Text;
        ASSERT_EQ(provider.Seen.size(), 3u);
        for (const TData& seen : provider.Seen) {
            EXPECT_EQ(seen.Tag, TagNone) << "a read hands over a fresh value";
        }
    }
}

TEST_F(LinkTest, UnboundReadsFallBackToDefaultOrTakeOverOnce) {
    const TZu_Event unbound;
    const struct {
        const char* Name;
        TData Received;
        std::string DefaultText;
        std::string FirstText;
        std::uint8_t TagAfter;
    } textCases[] = {
        {"integer taken over", MakeInteger(3), "", "3", TagNone},
        {"real taken over", MakeReal(0.5), "", "0.5", TagNone},
        {"array taken over as empty", MakeArray(nullptr), "", "", TagNone},
        {"default wins", MakeInteger(3), "x", "x", TagInteger},
        {"nothing received", TData{}, "", "", TagNone},
    };
    for (const auto& c : textCases) {
        TData received = c.Received;
        EXPECT_EQ(PullString(received, unbound, c.DefaultText), c.FirstText) << c.Name;
        EXPECT_EQ(received.Tag, c.TagAfter) << c.Name;
        EXPECT_EQ(PullString(received, unbound, c.DefaultText), c.DefaultText) << c.Name;
    }

    TData real = MakeReal(5.0);
    EXPECT_EQ(PullReal(real, unbound, 1000.0), 1000.0);
    EXPECT_EQ(real.Tag, TagReal);
    EXPECT_EQ(PullReal(real, unbound, 0.0), 5.0);
    EXPECT_EQ(PullReal(real, unbound, 0.0), 0.0);

    TData text = MakeString("2.9");
    EXPECT_EQ(PullInteger(text, unbound, 4), 4);
    EXPECT_EQ(PullInteger(text, unbound, 0), 2);
    EXPECT_EQ(text.Tag, TagNone);
    EXPECT_EQ(PullInteger(text, unbound, 0), 0);
}

TEST_F(LinkTest, PullDataHandsOverTheGivenValueOrClearsIt) {
    Provider provider(MakeString("answer"));
    const TZu_Event point = MakeEvent<&Provider::Provide>(&provider, 0);
    TData value = MakeInteger(4);
    PullData(value, point);
    ASSERT_EQ(provider.Seen.size(), 1u);
    EXPECT_EQ(provider.Seen[0].Tag, TagInteger) << "the value is not cleared first";
    EXPECT_EQ(value.Tag, TagString);
    EXPECT_EQ(value.StrValue, "answer");

    PullData(value, TZu_Event{});
    EXPECT_EQ(value.Tag, TagNone);
}

TEST_F(LinkTest, PullDataDefaultChoosesProviderDefaultOrTakesOver) {
    Provider provider(MakeInteger(10));
    const TZu_Event bound = MakeEvent<&Provider::Provide>(&provider, 0);
    const TZu_Event unbound;
    const TData noneDefault;
    const TData realDefault = MakeReal(1.5);
    const struct {
        const char* Name;
        const TZu_Event* Point;
        const TData* Default;
        std::uint8_t ResultTag;
        std::uint8_t GivenTagAfter;
    } cases[] = {
        {"bound", &bound, &realDefault, TagInteger, TagString},
        {"no default", &unbound, nullptr, TagString, TagNone},
        {"empty default", &unbound, &noneDefault, TagString, TagNone},
        {"default", &unbound, &realDefault, TagReal, TagString},
    };
    for (const auto& c : cases) {
        TData given = MakeString("given");
        const TData result = PullDataDefault(given, *c.Point, c.Default);
        EXPECT_EQ(result.Tag, c.ResultTag) << c.Name;
        EXPECT_EQ(given.Tag, c.GivenTagAfter) << c.Name;
        if (c.ResultTag == TagString) {
            EXPECT_EQ(result.StrValue, "given") << c.Name;
        }
    }
    ASSERT_EQ(provider.Seen.size(), 1u);
    EXPECT_EQ(provider.Seen[0].Tag, TagNone);

    TData nothing;
    EXPECT_EQ(PullDataDefault(nothing, unbound, nullptr).Tag, TagNone);
}

TEST_F(LinkTest, PullArrayAndMatrixAcceptOnlyTheirOwnTag) {
    const struct {
        TData Answer;
        ArrayAccessor* Array;
        MatrixAccessor* Matrix;
    } cases[] = {
        {MakeArray(SomeArray), SomeArray, nullptr},
        {MakeMatrix(SomeMatrix), nullptr, SomeMatrix},
        {MakeInteger(1), nullptr, nullptr},
        {TData{}, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        Provider provider(c.Answer);
        const TZu_Event point = MakeEvent<&Provider::Provide>(&provider, 0);
        EXPECT_EQ(PullArray(point), c.Array);
        EXPECT_EQ(PullMatrix(point), c.Matrix);
    }
    EXPECT_EQ(PullArray(TZu_Event{}), nullptr);
    EXPECT_EQ(PullMatrix(TZu_Event{}), nullptr);
}

TEST_F(LinkTest, ForwardFlagContinuesTheChainAtForward) {
    Probe probe;
    TZu_Event toProbe = MakeEvent<&Probe::Receive>(&probe, 5);
    Relay second;
    second.Next = &toProbe;
    TZu_Event toSecond = MakeEvent<&Relay::Receive>(&second, 0);
    Relay first;
    first.Next = &toSecond;
    const TZu_Event source = MakeEvent<&Relay::Receive>(&first, 0);

    TData value = MakeInteger(1);
    Dispatch(source, value);

    ASSERT_EQ(probe.Calls.size(), 1u);
    EXPECT_EQ(probe.Calls[0].Value.Tag, TagInteger) << "the flag is cleared before the next call";
    EXPECT_EQ(probe.Calls[0].Value.IntValue, 3);
    EXPECT_EQ(probe.Calls[0].Index, 5);
    EXPECT_EQ(value.Tag, TagInteger);
}

TEST_F(LinkTest, ForwardFlagWithoutAPointEndsTheChain) {
    Relay relay;
    TZu_Event unbound;
    for (TZu_Event* next : {static_cast<TZu_Event*>(nullptr), &unbound}) {
        relay.Next = next;
        TData value = MakeReal(0.5);
        Dispatch(MakeEvent<&Relay::Receive>(&relay, 0), value);
        EXPECT_EQ(value.Tag, TagReal);
        EXPECT_EQ(value.Forward, next);
    }
}

TEST_F(LinkTest, HubCopiesSurviveTheFirstReceiverTakingItsCopyOver) {
    TextReader first;
    TextReader second;
    Hub hub;
    hub.First = MakeEvent<&TextReader::SetText>(&first, 0);
    hub.Second = MakeEvent<&TextReader::SetText>(&second, 0);
    const TZu_Event source = MakeEvent<&Hub::Pass>(&hub, 0);

    FireInteger(source, 3);
    TData held = MakeString("kept");
    Dispatch(source, held);

    EXPECT_EQ(first.Texts, (std::vector<std::string>{"3", "kept"}));
    EXPECT_EQ(second.Texts, (std::vector<std::string>{"3", "kept"}));
    EXPECT_EQ(held.Tag, TagString) << "the hub's own value is not taken over";
}

} // namespace
