// The button element clicked through the test driver (POSIX only).

#include "elements/TZuButton.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Convert.h"
#include "core/TData.h"
#include "core/TZu_Event.h"
#include "platform/testing.h"
#include "tests/elements/LinkProbe.h"
#include "tests/elements/TZuButtonTest.h"

namespace {

// Takes every value it receives over, as an input reading an unbound data point does.
class TakeOver {
public:
    void Receive(TData& value, std::uint16_t) { Texts.push_back(PullString(value, Text, "")); }
    TZu_Event Point() { return MakeEvent<&TakeOver::Receive>(this, 0); }

    TZu_Event Text;
    std::vector<std::string> Texts;
};

void ClickTimes(TZuButton& button, int times) {
    for (int i = 0; i < times; ++i) {
        testdriver::Click(button.Control->Handle, 10, 10);
    }
}

TEST_F(TZuButtonTest, EveryClickSendsACopyOfData) {
    const struct {
        TData Data;
        std::uint8_t Tag;
        std::string Text;
    } cases[] = {
        {MakeReal(0.0), TagReal, "0"},
        {TData{}, TagNone, ""},
        {MakeString("clear"), TagString, "clear"},
        {MakeInteger(-3), TagInteger, "-3"},
    };
    for (const auto& c : cases) {
        Probe probe;
        TZuButton& button = MakeButton();
        button.Data = c.Data;
        button.OnClick = probe.Point();
        button.Init();
        ShowWindows();

        ClickTimes(button, 2);

        ASSERT_EQ(probe.Values.size(), 2u) << c.Text;
        for (const TData& value : probe.Values) {
            EXPECT_EQ(value.Tag, c.Tag);
            EXPECT_EQ(ValueToText(value), c.Text);
        }
        button.Control->SetVisible(false);
    }
}

TEST_F(TZuButtonTest, AReceiverTakingItsCopyOverLeavesDataForTheNextClick) {
    TakeOver receiver;
    TZuButton& button = MakeButton();
    button.Data = MakeInteger(42);
    button.OnClick = receiver.Point();
    button.Init();
    ShowWindows();

    ClickTimes(button, 3);

    EXPECT_EQ(receiver.Texts, (std::vector<std::string>{"42", "42", "42"}));
    EXPECT_EQ(button.Data.Tag, TagInteger);
    EXPECT_EQ(button.Data.IntValue, 42);
}

} // namespace
