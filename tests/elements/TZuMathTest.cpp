#include "elements/TZuMath.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "tests/elements/LinkProbe.h"

namespace {

class TZuMathTest : public LinkedElementTest {
protected:
    TZuMathTest() {
        math.OnResult = results.Point();
        math.OnError = errors.Point();
    }

    // Binds a data point to a provider answering `answer`, or leaves it unbound.
    static void BindOperand(TZu_Event& point, Provider& provider,
                            const std::optional<TData>& answer) {
        if (answer) {
            provider.Answer = *answer;
            point = provider.Point();
        }
    }

    TZuMath math;
    Probe results;
    Probe errors;
    Provider dividend{TData{}};
    Provider divisor{TData{}};
    TZu_Event calc = MakeEvent<&TZuMath::Calc>(&math, 0);
};

struct QuotientCase {
    const char* Name;
    std::optional<TData> Op1;
    double DefaultOp1;
    std::optional<TData> Op2;
    double DefaultOp2;
    TData Incoming;
    std::uint8_t ResultType;
    TData Expected;
};

TEST_F(TZuMathTest, SendsTheQuotientOfItsOperands) {
    const QuotientCase cases[] = {
        {"bound dividend", MakeInteger(7000), 0, {}, 1000, TData{}, 0, MakeInteger(7)},
        {"zero dividend", MakeInteger(0), 0, {}, 1000, TData{}, 0, MakeInteger(0)},
        {"real result", MakeInteger(2500), 0, {}, 1000, TData{}, 1, MakeReal(2.5)},
        {"half goes down to even", MakeInteger(2500), 0, {}, 1000, TData{}, 0, MakeInteger(2)},
        {"half goes up to even", MakeInteger(1500), 0, {}, 1000, TData{}, 0, MakeInteger(2)},
        {"nearest", MakeInteger(2600), 0, {}, 1000, TData{}, 0, MakeInteger(3)},
        {"negative", MakeInteger(-3500), 0, {}, 1000, TData{}, 0, MakeInteger(-4)},
        {"text operands", MakeString("9"), 0, MakeString("1,5"), 0, TData{}, 1, MakeReal(0.6)},
        {"unbound dividend takes the incoming value",
         {},
         0,
         {},
         1000,
         MakeInteger(4000),
         0,
         MakeInteger(4)},
        {"incoming text is converted", {}, 0, {}, 1000, MakeString("4500"), 0, MakeInteger(4)},
        {"a dividend default ignores the incoming value",
         {},
         9000,
         {},
         1000,
         MakeInteger(1),
         0,
         MakeInteger(9)},
        {"a bound divisor wins over its default", MakeInteger(10), 0, MakeInteger(4), 1000, TData{},
         1, MakeReal(2.5)},
        {"integer beyond 32 bits keeps the low bits",
         MakeReal(1e10),
         0,
         {},
         1,
         TData{},
         0,
         MakeInteger(1410065408)},
    };
    for (const QuotientCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TZuMath element;
        Probe out;
        Probe error;
        Provider first{TData{}};
        Provider second{TData{}};
        element.OnResult = out.Point();
        element.OnError = error.Point();
        BindOperand(element.Op1, first, c.Op1);
        BindOperand(element.Op2, second, c.Op2);
        element.DefaultOp1 = c.DefaultOp1;
        element.DefaultOp2 = c.DefaultOp2;
        element.ResultType = c.ResultType;

        Send(MakeEvent<&TZuMath::Calc>(&element, 0), c.Incoming);

        EXPECT_TRUE(error.Values.empty());
        ASSERT_EQ(out.Values.size(), 1u);
        EXPECT_EQ(out.Values[0].Tag, c.Expected.Tag);
        EXPECT_EQ(out.Values[0].IntValue, c.Expected.IntValue);
        EXPECT_DOUBLE_EQ(out.Values[0].RealValue, c.Expected.RealValue);
        EXPECT_FALSE(element.DivByZero);
    }
}

TEST_F(TZuMathTest, ZeroDivisorFiresOnErrorOnlyAndFallsBackToDefault) {
    math.SetDefault(-1);
    BindOperand(math.Op1, dividend, MakeInteger(5000));
    BindOperand(math.Op2, divisor, MakeString("0"));

    Send(calc, MakeInteger(3));

    EXPECT_TRUE(results.Values.empty());
    ASSERT_EQ(errors.Values.size(), 1u);
    EXPECT_EQ(errors.Values[0].Tag, TagNone);
    EXPECT_TRUE(math.DivByZero);
    EXPECT_EQ(math.LastResult, -1);
}

TEST_F(TZuMathTest, DividendTakesTheIncomingValueSoTheDivisorCannot) {
    // Both points unbound with default 0: the dividend takes the value, the divisor reads 0.
    Send(calc, MakeInteger(3000));

    EXPECT_TRUE(results.Values.empty());
    EXPECT_EQ(errors.Values.size(), 1u);
}

TEST_F(TZuMathTest, KeepsTheLastQuotientUntilSetDefault) {
    BindOperand(math.Op1, dividend, MakeInteger(2500));
    math.DefaultOp2 = 1000;
    Send(calc, TData{});
    EXPECT_EQ(math.LastResult, 2.5);

    math.DivByZero = true;
    math.SetDefault(8);
    EXPECT_EQ(math.LastResult, 8);
    EXPECT_EQ(math.Default, 8);
    EXPECT_FALSE(math.DivByZero);
}

} // namespace
