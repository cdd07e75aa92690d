#include "elements/TZuMathParse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "elements/ArrayAccessor.h"
#include "elements/MatrixAccessor.h"
#include "tests/elements/LinkProbe.h"

// Contents: expression tables; arguments (plain, cached, bound, call, array, matrix);
// re-entry; text limits.

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr bool Degrees = true;
constexpr bool Radians = false;

class TZuMathParseTest : public LinkedElementTest {
protected:
    TZuMathParseTest() { parse.OnResult = probe.Point(); }

    // Fires `incoming` at Calc and returns the one result it sent.
    TData Evaluate(TData incoming) {
        const std::size_t before = probe.Values.size();
        Send(calc, std::move(incoming));
        EXPECT_EQ(probe.Values.size(), before + 1);
        return probe.Values.empty() ? TData{} : probe.Values.back();
    }

    double EvaluateReal(const std::string& expression, TData incoming = MakeInteger(125)) {
        parse.SetResultType(1);
        parse.SetExpression(expression);
        const TData result = Evaluate(std::move(incoming));
        EXPECT_EQ(result.Tag, TagReal);
        return result.RealValue;
    }

    std::int32_t EvaluateInteger(const std::string& expression, TData incoming = MakeInteger(125)) {
        parse.SetResultType(0);
        parse.SetExpression(expression);
        const TData result = Evaluate(std::move(incoming));
        EXPECT_EQ(result.Tag, TagInteger);
        return result.IntValue;
    }

    TZuMathParse parse;
    Probe probe;
    TZu_Event calc = MakeEvent<&TZuMathParse::Calc>(&parse, 0);
};

struct ExpressionCase {
    const char* Expression;
    TData Incoming;
    std::uint8_t ResultType;
    bool AngleDegrees;
    double Expected;
};

// Each row runs on a fresh element with one argument, unbound.
void CheckExpressions(const std::vector<ExpressionCase>& cases) {
    for (const ExpressionCase& c : cases) {
        SCOPED_TRACE(std::string("expression \"") + c.Expression + "\"");
        TZuMathParse parse;
        Probe probe;
        parse.OnResult = probe.Point();
        parse.SetArgCount(1);
        parse.SetExpression(c.Expression);
        parse.SetResultType(c.ResultType);
        parse.SetAngleMode(c.AngleDegrees);
        TData incoming = c.Incoming;
        Dispatch(MakeEvent<&TZuMathParse::Calc>(&parse, 0), incoming);

        ASSERT_EQ(probe.Values.size(), 1u);
        const TData& result = probe.Values[0];
        if (c.ResultType == 0) {
            EXPECT_EQ(result.Tag, TagInteger);
            EXPECT_EQ(result.IntValue, c.Expected);
        } else if (std::isinf(c.Expected)) {
            EXPECT_EQ(result.RealValue, c.Expected);
        } else {
            EXPECT_EQ(result.Tag, TagReal);
            EXPECT_NEAR(result.RealValue, c.Expected, 1e-12 * std::max(1.0, std::fabs(c.Expected)));
        }
    }
}

TEST_F(TZuMathParseTest, EvaluatesOperatorsWithTheirPrecedence) {
    const TData v = MakeInteger(125);
    CheckExpressions({
        {"%1 div 60", v, 0, Radians, 2},
        {"%1 div 60", MakeInteger(-125), 0, Radians, -2},
        {"%1 mod 60", v, 0, Radians, 5},
        {"%1 mod 60", MakeInteger(-125), 0, Radians, -5},
        {"%1 DIV 60 + %1 MOD 60", v, 0, Radians, 7},
        {"7/2", v, 0, Radians, 4},
        {"7/2", v, 1, Radians, 3.5},
        {"5/2", v, 0, Radians, 2},
        {"5/2", v, 1, Radians, 2.5},
        {"5/0", v, 0, Radians, 5},
        {"5.5 div 0", v, 1, Radians, 5.5},
        {"7 mod 0", v, 0, Radians, 7},
        {"2.5 div 1", v, 0, Radians, 2},
        {"3.5 div 1", v, 0, Radians, 4},
        {"-7 div 2", v, 0, Radians, -3},
        {"-7 mod 2", v, 0, Radians, -1},
        {"2+3*4", v, 0, Radians, 14},
        {"10-2-3", v, 0, Radians, 5},
        {"2*3/4", v, 1, Radians, 1.5},
        {"2^3^2", v, 0, Radians, 64},
        {"-2^2", v, 0, Radians, 4},
        {"+2^2", v, 0, Radians, 4},
        {"2^10", v, 0, Radians, 1024},
        {"2^-1", v, 0, Radians, 2},
        {"2^(-1)", v, 1, Radians, 0.5},
        {"0^0", v, 0, Radians, 1},
        {"2^0.5", v, 1, Radians, std::numbers::sqrt2},
        {"2*-3", v, 0, Radians, 2},
        {"2*(-3)", v, 0, Radians, -6},
        {"\t1 +\t 2 ", v, 0, Radians, 3},
        {"(1+2)*(3+4)", v, 0, Radians, 21},
    });
}

TEST_F(TZuMathParseTest, ReadsNumbersAndNames) {
    const TData v = MakeInteger(125);
    CheckExpressions({
        {"2 e 3", v, 0, Radians, 2000},
        {"1.5E+2", v, 0, Radians, 150},
        {"1.5 e - 1", v, 1, Radians, 0.15},
        {".5", v, 1, Radians, 0.5},
        {"3.", v, 1, Radians, 3},
        {"1e", v, 0, Radians, 0},
        {".", v, 0, Radians, 0},
        {"pi", v, 1, Radians, std::numbers::pi},
        {"PI*2", v, 1, Radians, 2 * std::numbers::pi},
        {"e", v, 1, Radians, std::numbers::e},
        {"SQRT(16)", v, 0, Radians, 4},
        {"unknown", v, 0, Radians, 0},
        {"3 + unknown", v, 0, Radians, 3},
        {"3 + \xC0\xE1\xE2", v, 0, Radians, 3},
        {"99999999999", v, 1, Radians, 1215752191}, // wraps to 32 bits
        {"1e999", v, 1, Radians, Inf},
        {"1e999", v, 0, Radians, 0},
    });
}

TEST_F(TZuMathParseTest, MalformedTextEndsTheParseWithWhatWasComputed) {
    const TData v = MakeInteger(125);
    CheckExpressions({
        {"", v, 0, Radians, 0},
        {"(1+2", v, 0, Radians, 3},
        {"1 2", v, 0, Radians, 1},
        {"2 & 3", v, 0, Radians, 2},
        {"4 + ! 5", v, 0, Radians, 4},
        {"1+", v, 0, Radians, 1},
        {")+3", v, 0, Radians, 3},
        {"%", v, 0, Radians, 0},
        {"%x + 4", v, 0, Radians, 4}, // the token after "%" is passed over
        {"%2", v, 0, Radians, 0},
        {"%2 + 6", v, 0, Radians, 6},
        {"sin 5", v, 0, Radians, 0},
        {"cos(0", v, 0, Radians, 1},
        {"sin(1,2)", v, 1, Radians, std::sin(1.0)},
    });
}

TEST_F(TZuMathParseTest, ComputesFunctions) {
    const TData v = MakeInteger(125);
    CheckExpressions({
        {"cos(0)", v, 1, Radians, 1},
        {"sin(90)", v, 0, Degrees, 1},
        {"sin(pi/2)", v, 1, Radians, 1},
        {"tg(45)", v, 1, Degrees, 1},
        {"ctg(45)", v, 1, Degrees, 1},
        {"arccos(0)", v, 1, Degrees, 90},
        {"arccos(-1)", v, 1, Radians, std::numbers::pi},
        {"arcsin(1)", v, 1, Degrees, 90},
        {"arctg(1)", v, 1, Degrees, 45},
        {"arcctg(0)", v, 1, Degrees, 90},
        {"arcctg(-1)", v, 1, Degrees, 135},
        {"atan(1, -1)", v, 1, Degrees, 135},
        {"atan(1)", v, 0, Degrees, 1},
        {"ch(0)", v, 1, Radians, 1},
        {"ch(1)", v, 1, Radians, std::cosh(1.0)},
        {"sh(1)", v, 1, Radians, std::sinh(1.0)},
        {"th(0.5)", v, 1, Radians, std::tanh(0.5)},
        {"cth(0.5)", v, 1, Radians, 1 / std::tanh(0.5)},
        {"arcch(1)", v, 1, Radians, 0},
        {"arcch(2)", v, 1, Radians, std::acosh(2.0)},
        {"arcsh(2)", v, 1, Radians, std::asinh(2.0)},
        {"arcth(0.5)", v, 1, Radians, std::atanh(0.5)},
        {"arccth(2)", v, 1, Radians, std::atanh(0.5)},
        {"log(8)", v, 0, Radians, 8},
        {"log(2, 8)", v, 0, Radians, 3},
        {"log(10, 0.001)", v, 1, Radians, -3},
        {"lg(1000)", v, 1, Radians, 3},
        {"ln(e)", v, 1, Radians, 1},
        {"exp(1)", v, 1, Radians, std::numbers::e},
        {"sqr(-3)", v, 0, Radians, 9},
        {"sqrt(2)", v, 1, Radians, std::numbers::sqrt2},
        {"abs(-4)", v, 0, Radians, 4},
        {"sign(-3)", v, 0, Radians, -1},
        {"sign(0)", v, 0, Radians, 0},
        {"sign(0.1)", v, 0, Radians, 1},
        {"round(7.25, 0.5)", v, 1, Radians, 7},
        {"round(2.5)", v, 0, Radians, 2},
        {"round(3.5)", v, 0, Radians, 4},
        {"round(-2.5)", v, 1, Radians, -2},
        {"trunc(-2.7)", v, 1, Radians, -2},
        {"trunc(7.9, 2)", v, 1, Radians, 6},
        {"frac(-2.7)", v, 1, Radians, -2.7 + 2},
        {"frac(7.5, 2)", v, 1, Radians, 1.5},
        {"min(3, 1, 2)", v, 0, Radians, 1},
        {"max(4)", v, 0, Radians, 4},
        {"max(1, 5, 3) + 1", v, 0, Radians, 6},
        {"min(%1, 100)", v, 0, Radians, 100},
    });
}

TEST_F(TZuMathParseTest, DomainAndRangeErrorsGiveIeeeResultsAndIntegerZero) {
    const TData v = MakeInteger(125);
    CheckExpressions({
        {"ln(0)", v, 1, Radians, -Inf},
        {"ln(0)", v, 0, Radians, 0},
        {"0.0000001^100", v, 1, Radians, 0},
        {"10^400", v, 1, Radians, Inf},
        {"0^(-1)", v, 1, Radians, Inf},
        {"exp(1000)", v, 0, Radians, 0},
        {"sqrt(-1)", v, 0, Radians, 0},
        {"round(1e300)", v, 0, Radians, 0},
        {"trunc(-1e300)", v, 1, Radians, -9223372036854775808.0},
    });
    EXPECT_TRUE(std::isnan(EvaluateReal("sqrt(-1)")));
    EXPECT_TRUE(std::isnan(EvaluateReal("(-8)^(1/3)")));
    EXPECT_TRUE(std::isnan(EvaluateReal("frac(1e999)")));
}

TEST_F(TZuMathParseTest, IntegerDivisionOfExtremeOperandsIsDefined) {
    const TData v = MakeInteger(125);
    const double lowest = -9223372036854775808.0;
    CheckExpressions({
        // The most negative 64-bit value divided by -1 wraps to itself.
        {"-2^63 div (-1)", v, 1, Radians, lowest},
        {"-2^63 mod (-1)", v, 1, Radians, 0},
        // Operands beyond 64 bits saturate.
        {"1e30 div 1e29", v, 1, Radians, 1},
        {"1e30 mod 10", v, 1, Radians, 7},
        {"-1e30 mod 10", v, 1, Radians, -8},
    });
}

TEST_F(TZuMathParseTest, PowersWithExtremeExponentsAreDefined) {
    const TData v = MakeInteger(125);
    CheckExpressions({
        // The token 2147483648 reads as the most negative 32-bit exponent.
        {"2^2147483648", v, 1, Radians, 0},
        {"0.5^2147483648", v, 1, Radians, Inf},
        {"1^2147483648", v, 1, Radians, 1},
        // Whole exponents beyond 32 bits take the exponential, not their low bits.
        {"2^4294967298.0", v, 1, Radians, Inf},
        {"0.5^4294967298.0", v, 1, Radians, 0},
        {"2^1e300", v, 1, Radians, Inf},
        {"1^1e300", v, 1, Radians, 1},
        {"2^1e999", v, 1, Radians, Inf},
        {"2^(-1e999)", v, 1, Radians, 0},
    });
    EXPECT_TRUE(std::isnan(EvaluateReal("2^sqrt(-1)")));
    EXPECT_TRUE(std::isnan(EvaluateReal("(-1)^4294967297.0")));
}

// ---- Arguments

TEST_F(TZuMathParseTest, UnboundArgumentReadsTheIncomingValueOnce) {
    parse.SetArgCount(2);
    const struct {
        const char* Expression;
        TData Incoming;
        double Expected;
    } cases[] = {
        {"%1", MakeString("12.5"), 12.5},
        {"%1", MakeReal(-0.25), -0.25},
        {"%1 + 1", TData{}, 1},
        {"%1 * %1", MakeInteger(125), 15625},
        {"%1 + %2", MakeInteger(125), 125}, // the second unbound argument finds it taken
        {"%2 + %1", MakeInteger(125), 125},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Expression);
        EXPECT_EQ(EvaluateReal(c.Expression, c.Incoming), c.Expected);
    }
}

TEST_F(TZuMathParseTest, PlainReadsArePulledOncePerEvaluation) {
    Provider seven(MakeInteger(7));
    parse.SetArgCount(1);
    parse.Args[0] = seven.Point();

    EXPECT_EQ(EvaluateInteger("%1*%1 + %1"), 56);
    EXPECT_EQ(seven.Seen.size(), 1u);
    EXPECT_EQ(EvaluateInteger("%1*%1"), 49);
    EXPECT_EQ(seven.Seen.size(), 2u);
}

TEST_F(TZuMathParseTest, BoundAndUnboundArgumentsMix) {
    Provider ten(MakeString("10"));
    parse.SetArgCount(2);
    parse.Args[1] = ten.Point();

    EXPECT_EQ(EvaluateInteger("%1 + %2"), 135);
    EXPECT_EQ(EvaluateInteger("%2 * 2 + %1"), 145);
    ASSERT_EQ(ten.Seen.size(), 2u);
    EXPECT_EQ(ten.Seen[0].Tag, TagNone);
}

TEST_F(TZuMathParseTest, PercentZeroIsThePreviousResult) {
    parse.SetDefault(7);
    EXPECT_EQ(EvaluateInteger("%0 + 1"), 8);
    EXPECT_EQ(EvaluateInteger("%0 + 1"), 9);
    EXPECT_EQ(parse.LastResult, 9);
    parse.SetDefault(-3);
    EXPECT_EQ(EvaluateInteger("%0"), -3);
}

// Answers the square of the real it is handed, as text.
class Squarer {
public:
    void Answer(TData& value, std::uint16_t) {
        Handed.push_back(value);
        const double x = value.RealValue;
        value = MakeString(std::to_string(x * x));
    }
    TZu_Event Point() { return MakeEvent<&Squarer::Answer>(this, 0); }

    std::vector<TData> Handed;
};

TEST_F(TZuMathParseTest, CallReadsHandTheArgumentToTheBoundElementEveryTime) {
    Squarer squarer;
    parse.SetArgCount(1);
    parse.Args[0] = squarer.Point();

    EXPECT_EQ(EvaluateInteger("%1(2) + %1(1+2)"), 13);
    ASSERT_EQ(squarer.Handed.size(), 2u);
    EXPECT_EQ(squarer.Handed[0].Tag, TagReal);
    EXPECT_EQ(squarer.Handed[1].RealValue, 3);

    EXPECT_EQ(EvaluateInteger("%1(2"), 0);       // no ")": no value
    EXPECT_EQ(squarer.Handed.size(), 2u);        // and nothing pulled
    EXPECT_EQ(EvaluateInteger("%1(4) - 1"), 15); // the text goes on after ")"
}

TEST_F(TZuMathParseTest, CallReadThroughAnUnboundPointHasNoValue) {
    parse.SetArgCount(1);
    EXPECT_EQ(EvaluateInteger("2 + %1(5)"), 2);
    EXPECT_EQ(EvaluateInteger("%1(5) + 2"), 0); // ends on the ")"
}

// Items 0..n-1 of a list; other indices do not exist.
class TestArray : public ArrayAccessor {
public:
    explicit TestArray(std::vector<double> items) : Items(std::move(items)) {}
    bool GetItem(const TData& index, TData& item) override {
        Indices.push_back(index);
        const double i = index.RealValue;
        if (index.Tag != TagReal || i < 0 || i >= double(Items.size()) || i != std::floor(i)) {
            return false;
        }
        item = MakeReal(Items[std::size_t(i)]);
        return true;
    }

    std::vector<double> Items;
    std::vector<TData> Indices;
};

// Cells (col, row) with 0 <= col, row < 3 hold col * 10 + row as text.
class TestMatrix : public MatrixAccessor {
public:
    TData GetItem(std::int32_t col, std::int32_t row) override {
        Cells.push_back({col, row});
        if (col < 0 || col > 2 || row < 0 || row > 2) {
            return TData{};
        }
        return MakeString(std::to_string(col * 10 + row));
    }

    std::vector<std::pair<std::int32_t, std::int32_t>> Cells;
};

TEST_F(TZuMathParseTest, ArrayReadsPullTheAccessorEveryTime) {
    TestArray array({1.5, 20, 300});
    Provider source(MakeArray(&array));
    parse.SetArgCount(1);
    parse.Args[0] = source.Point();

    const struct {
        const char* Expression;
        double Expected;
    } cases[] = {
        {"%1[1]", 20}, {"%1[0] + %1[2]", 301.5}, {"%1[1+1] * 2", 600}, {"1 + %1[3]", 1},
        {"%1[1", 0},   {"%1[0.5]", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Expression);
        EXPECT_EQ(EvaluateReal(c.Expression), c.Expected);
    }
    EXPECT_EQ(source.Seen.size(), 7u);
    ASSERT_FALSE(array.Indices.empty());
    EXPECT_EQ(array.Indices[0].Tag, TagReal);
    EXPECT_EQ(array.Indices[0].RealValue, 1);
}

TEST_F(TZuMathParseTest, MatrixReadsRoundTheirIndices) {
    TestMatrix matrix;
    Provider source(MakeMatrix(&matrix));
    parse.SetArgCount(1);
    parse.Args[0] = source.Point();

    const struct {
        const char* Expression;
        double Expected;
    } cases[] = {
        {"%1[1, 2]", 12},    {"%1[1,2] * 2", 24}, {"%1[1.5, 0.5]", 20},
        {"3 + %1[5, 0]", 3}, {"%1[1, 2", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Expression);
        EXPECT_EQ(EvaluateReal(c.Expression), c.Expected);
    }
    EXPECT_EQ(matrix.Cells.front(), (std::pair<std::int32_t, std::int32_t>{1, 2}));
    EXPECT_EQ(matrix.Cells[2], (std::pair<std::int32_t, std::int32_t>{2, 0}));
}

TEST_F(TZuMathParseTest, AccessorReadsWithoutAnAccessorHaveNoValue) {
    TestArray array({1});
    Provider arrayOnly(MakeArray(&array));
    Provider number(MakeInteger(4));
    parse.SetArgCount(3);
    parse.Args[0] = arrayOnly.Point();
    parse.Args[1] = number.Point();

    EXPECT_EQ(EvaluateReal("1 + %1[0, 0]"), 1); // an array is no matrix
    EXPECT_EQ(EvaluateReal("1 + %2[0]"), 1);    // a number is no array
    EXPECT_EQ(EvaluateReal("1 + %3[0]"), 1);    // unbound
}

// ---- Re-entry

// Receives each result and sends it back into Calc until it has seen `Limit` results.
class Relay {
public:
    Relay(TZuMathParse& parse, std::size_t limit) : Parse(parse), Limit(limit) {}
    void Receive(TData& value, std::uint16_t) {
        Values.push_back(value.IntValue);
        IdleOnReceipt.push_back(Parse.ScanPos == -1);
        if (Values.size() < Limit) {
            TData next = value;
            Dispatch(MakeEvent<&TZuMathParse::Calc>(&Parse, 0), next);
        }
    }
    TZu_Event Point() { return MakeEvent<&Relay::Receive>(this, 0); }

    TZuMathParse& Parse;
    std::size_t Limit;
    std::vector<std::int32_t> Values;
    std::vector<bool> IdleOnReceipt;
};

TEST_F(TZuMathParseTest, AResultReceiverMayCalcAgain) {
    Relay relay(parse, 3);
    parse.OnResult = relay.Point();
    parse.SetArgCount(1);
    parse.SetExpression("%1 + 1");

    Send(calc, MakeInteger(0));

    EXPECT_EQ(relay.Values, (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(relay.IdleOnReceipt, (std::vector<bool>{true, true, true}));
}

// A data point whose provider sends a Calc into the element that is reading it.
class ReentrantProvider {
public:
    ReentrantProvider(TZuMathParse& parse, int reentries) : Parse(parse), Reentries(reentries) {}
    void Provide(TData& value, std::uint16_t) {
        if (Reentries > 0) {
            --Reentries;
            TData inner = MakeInteger(100);
            Dispatch(MakeEvent<&TZuMathParse::Calc>(&Parse, 0), inner);
        }
        value = MakeInteger(5);
    }
    TZu_Event Point() { return MakeEvent<&ReentrantProvider::Provide>(this, 0); }

    TZuMathParse& Parse;
    int Reentries;
};

TEST_F(TZuMathParseTest, ACalcDuringAnEvaluationIsEvaluatedOnItsOwn) {
    ReentrantProvider provider(parse, 1);
    parse.SetArgCount(2);
    parse.Args[0] = provider.Point();
    parse.SetDefault(1000);
    parse.SetExpression("%2 + %1 + %2 + %0");

    // Outer: %2 = 7 from its incoming value; %1 runs the inner Calc, which reads %2 = 100,
    // %1 = 5 and %0 = Default (an inner evaluation starts from it), then answers 5.
    Send(calc, MakeInteger(7));

    ASSERT_EQ(probe.Values.size(), 2u);
    EXPECT_EQ(probe.Values[0].IntValue, 100 + 5 + 100 + 1000);
    EXPECT_EQ(probe.Values[1].IntValue, 7 + 5 + 7 + 1205);
    EXPECT_EQ(parse.ScanPos, -1);
}

TEST_F(TZuMathParseTest, AnEndlessChainBackIntoTheElementStops) {
    ReentrantProvider provider(parse, std::numeric_limits<int>::max());
    parse.SetArgCount(1);
    parse.Args[0] = provider.Point();
    parse.SetExpression("%1 + 1");

    Send(calc, MakeInteger(0));

    ASSERT_EQ(probe.Values.size(), std::size_t(TZuMathParse::MaxRuleDepth) + 1);
    EXPECT_EQ(probe.Values.front().IntValue, 0); // the innermost has no room for a rule
    EXPECT_EQ(probe.Values.back().IntValue, 6);
}

// Changes the argument count of the element that is reading it.
class Resizer {
public:
    explicit Resizer(TZuMathParse& parse) : Parse(parse) {}
    void Provide(TData& value, std::uint16_t) {
        Parse.SetArgCount(0);
        value = MakeInteger(3);
    }
    TZu_Event Point() { return MakeEvent<&Resizer::Provide>(this, 0); }

    TZuMathParse& Parse;
};

TEST_F(TZuMathParseTest, ArgCountStaysWhileAnEvaluationReadsTheArguments) {
    Resizer resizer(parse);
    parse.SetArgCount(2);
    parse.Args[0] = resizer.Point();

    EXPECT_EQ(EvaluateInteger("%1 + %2"), 128);
    EXPECT_EQ(parse.ArgCount, 2);
    parse.SetArgCount(-4);
    EXPECT_EQ(parse.ArgCount, 0);
    EXPECT_TRUE(parse.Args.empty());
}

// ---- Text limits

TEST_F(TZuMathParseTest, LongTextsKeepTheirFirst32766Bytes) {
    std::string ones;
    for (int i = 0; i < 20000; ++i) {
        ones += "1+";
    }
    parse.SetExpression(ones);
    EXPECT_EQ(parse.Expression.size(), 32767u);
    EXPECT_EQ(parse.Expression.back(), TZuMathParse::EndMark);
    EXPECT_EQ(EvaluateInteger(ones), 16383); // "1+" 16383 times, the last "+" finds the end

    // A long text assigned directly, without the cut, is scanned just as far.
    parse.Expression = ones;
    EXPECT_EQ(Evaluate(TData{}).IntValue, 16383);

    EXPECT_EQ(EvaluateInteger(std::string(32765, ' ') + "7"), 7);
    EXPECT_EQ(EvaluateInteger(std::string(32766, ' ') + "7"), 0);
}

TEST_F(TZuMathParseTest, TheScanStopsAtTheEndMarkAndAtRejectedBytes) {
    EXPECT_EQ(EvaluateInteger(std::string("1+2\x01+5")), 3);
    EXPECT_EQ(EvaluateInteger(std::string("1+2\0+5", 6)), 3);
    EXPECT_EQ(EvaluateInteger(std::string("4\r\n+5")), 4);

    parse.SetResultType(0);
    parse.Expression = "4+5"; // assigned without the end mark
    EXPECT_EQ(Evaluate(TData{}).IntValue, 9);
}

TEST_F(TZuMathParseTest, NestingIsBoundedSoNoTextExhaustsTheStack) {
    const auto nested = [](int depth) {
        return std::string(std::size_t(depth), '(') + "1+2" + std::string(std::size_t(depth), ')');
    };
    EXPECT_EQ(EvaluateInteger(nested(TZuMathParse::MaxRuleDepth - 1)), 3);
    EXPECT_EQ(EvaluateInteger(nested(TZuMathParse::MaxRuleDepth)), 0);
    EXPECT_EQ(EvaluateInteger(std::string(100000, '(') + "1"), 0);
    EXPECT_EQ(EvaluateInteger(std::string(30000, '-') + "1"), 0);
    EXPECT_EQ(EvaluateInteger("min(" + std::string(20000, ',') + "1"), 0);
}

} // namespace
