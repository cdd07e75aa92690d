#include "core/Convert.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/TData.h"

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr double NotANumber = std::numeric_limits<double>::quiet_NaN();

TData ValueWithTag(std::uint8_t tag) {
    TData value;
    value.Tag = tag;
    value.IntValue = 77;
    value.StrValue = "12";
    value.RealValue = 3.5;
    return value;
}

TEST(ValueConversions, UntypedTagsReadAsEmpty) {
    for (const std::uint8_t tag : {TagNone, TagArray, TagMatrix, std::uint8_t{3}, std::uint8_t{8},
                                   std::uint8_t{17}, std::uint8_t{127}}) {
        const TData value = ValueWithTag(tag);
        EXPECT_EQ(ValueToText(value), "") << int(tag);
        EXPECT_EQ(ValueToInteger(value), 0) << int(tag);
        EXPECT_EQ(ValueToReal(value), 0.0) << int(tag);
    }
}

TEST(ValueConversions, ReadTheMatchingPayload) {
    struct Case {
        TData Value;
        std::string Text;
        std::int32_t Integer;
        double Real;
    };
    const std::vector<Case> cases = {
        {MakeInteger(-42), "-42", -42, -42.0},
        {MakeInteger(std::numeric_limits<std::int32_t>::min()), "-2147483648",
         std::numeric_limits<std::int32_t>::min(), -2147483648.0},
        {MakeString("2.9"), "2.9", 2, 2.9},
        {MakeString("1,5"), "1,5", 1, 15.0},
        {MakeString(""), "", 0, 0.0},
        {MakeReal(2.9), "2.9", 3, 2.9},
        {MakeReal(60.0), "60", 60, 60.0},
        {MakeReal(1e20), "100000000000000000000", 1661992960, 1e20},
        {MakeReal(1e-5), "0.00001", 0, 1e-5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValueToText(c.Value), c.Text) << c.Text;
        EXPECT_EQ(ValueToInteger(c.Value), c.Integer) << c.Text;
        EXPECT_EQ(ValueToReal(c.Value), c.Real) << c.Text;
    }
}

TEST(ValueConversions, IgnoreTheForwardFlag) {
    TData value = MakeInteger(5);
    value.Tag |= TagForwardFlag;
    EXPECT_EQ(ValueToText(value), "5");
    EXPECT_EQ(ValueToInteger(value), 5);
    EXPECT_EQ(ValueToReal(value), 5.0);
}

TEST(ValueConversions, RealsRoundHalfToEven) {
    const struct {
        double Real;
        std::int32_t Integer;
    } cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {0.5, 0},
        {1.5, 2},
        {-0.5, 0},
        {2.4, 2},
        {2.6, 3},
        {-2.6, -3},
        {1e10, 1410065408},
        {-1e10, -1410065408},
        {2147483647.5, -2147483648},
        {4294967296.0, 0},
        {4294967297.0, 1},
        {-4294967297.0, -1},
        {1e300, 0},
        {std::ldexp(1.0, 64) + std::ldexp(1.0, 20), 1048576},
        {Infinity, 0},
        {-Infinity, 0},
        {NotANumber, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValueToInteger(MakeReal(c.Real)), c.Integer) << c.Real;
        EXPECT_EQ(RoundToInt32(c.Real), c.Integer) << c.Real;
    }
}

TEST(RoundToInt64, RoundsHalfToEvenAndSaturates) {
    constexpr std::int64_t Max = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t Min = std::numeric_limits<std::int64_t>::min();
    const struct {
        double Real;
        std::int64_t Integer;
    } cases[] = {
        {2.5, 2},
        {-3.5, -4},
        {1e10, 10000000000},
        {9007199254740993.0, 9007199254740992},
        {std::ldexp(1.0, 62), std::int64_t{1} << 62},
        {std::ldexp(1.0, 63), Max},
        {-std::ldexp(1.0, 63), Min},
        {1e300, Max},
        {-1e300, Min},
        {Infinity, Max},
        {-Infinity, Min},
        {NotANumber, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundToInt64(c.Real), c.Integer) << c.Real;
    }
}

TEST(IntToText, WritesPlainDecimal) {
    const struct {
        std::int32_t Integer;
        const char* Text;
    } cases[] = {
        {0, "0"},
        {7, "7"},
        {-7, "-7"},
        {1000000, "1000000"},
        {std::numeric_limits<std::int32_t>::max(), "2147483647"},
        {std::numeric_limits<std::int32_t>::min(), "-2147483648"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IntToText(c.Integer), c.Text);
    }
}

TEST(RealToText, WritesFifteenSignificantDigitsWithoutExponent) {
    const struct {
        double Real;
        std::string Text;
    } cases[] = {
        {1.5, "1.5"},
        {3.0, "3"},
        {100.0, "100"},
        {0.05, "0.05"},
        {1.0 / 3.0, "0." + std::string(15, '3')},
        {2.0 / 3.0, "0.666666666666667"},
        {123456.789, "123456.789"},
        {0.00001, "0.00001"},
        {1e15, "1" + std::string(15, '0')},
        {1e20, "1" + std::string(20, '0')},
        {-2.5, "-2.5"},
        {0.1 + 0.2, "0.3"},
        {0.0, "0"},
        {-0.0, "0"},
        {60.0, "60"},
        {0.1, "0.1"},
        {5e12, "5000000000000"},
        {1e13, "10000000000000"},
        {123456789012345678.0, "123456789012346000"},
        {0.000123456789012345678, "0.000123456789012346"},
        {999999999999999.5, "1000000000000000"},
        {-1234.5678, "-1234.5678"},
        {4294967296.0, "4294967296"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RealToText(c.Real), c.Text) << c.Text;
    }
}

TEST(RealToText, NamesNonFiniteNumbers) {
    EXPECT_EQ(RealToText(Infinity), "Inf");
    EXPECT_EQ(RealToText(-Infinity), "-Inf");
    EXPECT_EQ(RealToText(NotANumber), "NaN");
    EXPECT_EQ(RealToText(-NotANumber), "NaN");
}

TEST(RealToText, WritesExtremeMagnitudesInFull) {
    const double smallest = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(RealToText(smallest), "0." + std::string(323, '0') + "494065645841247");
    EXPECT_EQ(RealToText(-smallest), "-0." + std::string(323, '0') + "494065645841247");

    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(RealToText(largest), "179769313486232" + std::string(294, '0'));

    EXPECT_EQ(RealToText(std::numeric_limits<double>::min()),
              "0." + std::string(307, '0') + "22250738585072");
}

TEST(TextToInteger, ReadsLeadingDigitsAndWraps) {
    const struct {
        std::string Text;
        std::int32_t Integer;
    } cases[] = {
        {"42", 42},
        {"-7", -7},
        {"+5", 5},
        {"12abc", 12},
        {"3.9", 3},
        {"abc", 0},
        {" 12", 0},
        {"-", 0},
        {"--5", 0},
        {"", 0},
        {"2147483648", -2147483648},
        {"-2147483648", -2147483648},
        {"2147483647", 2147483647},
        {"4294967297", 1},
        {"99999999999999999999", 1661992959},
        {"-0", 0},
        {"+-3", 0},
        {"007", 7},
        {"1e5", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextToInteger(c.Text), c.Integer) << '"' << c.Text << '"';
    }
}

TEST(TextToReal, AccumulatesDigitsAndSkipsOtherCharacters) {
    const struct {
        std::string Text;
        double Real;
    } cases[] = {
        {"3.25", 3.25},   {"-0.5", -0.5},  {"1,5", 15.0},   {"12:30", 1230.0}, {"1.5e3", 1500.0},
        {"2E-2", 0.02},   {"1.2.3", 1.2},  {"abc", 0.0},    {" -5", 5.0},      {"--5", -5.0},
        {"1e", 1.0},      {"", 0.0},       {"-", 0.0},      {"+7", 7.0},       {"1 000", 1000.0},
        {"0.001", 0.001}, {"1e+2", 100.0}, {"1e2x", 100.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(TextToReal(c.Text), c.Real) << '"' << c.Text << '"';
    }
}

TEST(TextToReal, HugeExponentsEndQuicklyWithoutNaN) {
    const struct {
        std::string Text;
        double Real;
    } cases[] = {
        {"1e999999999", Infinity},
        {"-1e999999999", -Infinity},
        {"1e-999999999", 0.0},
        {"0e999999999", 0.0},
        {"0e-2147483648", 0.0},
        {"5e-2147483648", 0.0},
        {"1e2147483647", Infinity},
        {"1e4294967295", 0.1}, // the exponent wraps to -1
        // A mantissa that already overflowed stays infinite.
        {std::string(400, '9') + "e-999", Infinity},
        {"1e400", Infinity},
        {"1e-400", 0.0},
    };
    const auto start = std::chrono::steady_clock::now();
    for (const auto& c : cases) {
        const double real = TextToReal(c.Text);
        EXPECT_FALSE(std::isnan(real)) << c.Text;
        EXPECT_DOUBLE_EQ(real, c.Real) << c.Text;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::milliseconds(500));
}

TEST(TextToReal, ReachesTheEdgesOfTheDoubleRange) {
    EXPECT_NEAR(TextToReal("1e308") / 1e308, 1.0, 1e-15);
    EXPECT_NEAR(TextToReal("1e-300") / 1e-300, 1.0, 1e-15);
    EXPECT_GT(TextToReal("1e-320"), 0.0);
}

} // namespace
