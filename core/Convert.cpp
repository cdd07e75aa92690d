#include "core/Convert.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>

// Narrowing an extended result to double relies on IEEE 754 overflow to infinity.
static_assert(std::numeric_limits<double>::is_iec559);
static_assert(std::numeric_limits<long double>::is_iec559);

namespace {

constexpr int SignificantDigits = 15;
// A magnitude is first scaled into [5e12, 1e13) and then refined until its rounded value
// has exactly fifteen digits.
constexpr long double ScaleLow = 5e12L;
constexpr long double ScaleHigh = 1e13L;
constexpr long double SmallestFifteenDigits = 1e14L;

// A positive decimal number 0.Digits times 10 to the power Exponent.
struct ScaledDecimal {
    std::uint64_t Digits = 0;
    int Exponent = 0;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

unsigned DigitValue(char c) {
    return static_cast<unsigned>(c - '0');
}

// Every step is one multiplication or division by ten in extended precision, so the
// result does not depend on how the platform formats floating-point numbers.
ScaledDecimal ScaleToFifteenDigits(long double magnitude) {
    int exponent = SignificantDigits;
    if (magnitude < ScaleLow) {
        while (magnitude < ScaleLow) {
            magnitude *= 10;
            --exponent;
        }
    } else {
        while (magnitude >= ScaleHigh) {
            magnitude /= 10;
            ++exponent;
        }
    }
    long double rounded = std::nearbyint(magnitude);
    while (rounded < SmallestFifteenDigits) {
        magnitude *= 10;
        --exponent;
        rounded = std::nearbyint(magnitude);
    }
    return {static_cast<std::uint64_t>(rounded), exponent};
}

void RemoveTrailingFractionZeros(std::string& text) {
    const std::size_t last = text.find_last_not_of('0');
    text.erase(text[last] == '.' ? last : last + 1);
}

std::string FormatDecimal(const ScaledDecimal& decimal) {
    const std::string digits = std::to_string(decimal.Digits);
    const int exponent = decimal.Exponent;
    if (exponent >= SignificantDigits) {
        return digits + std::string(static_cast<std::size_t>(exponent - SignificantDigits), '0');
    }
    std::string text;
    if (exponent <= 0) {
        text = "0." + std::string(static_cast<std::size_t>(-exponent), '0') + digits;
    } else {
        const auto whole = static_cast<std::size_t>(exponent);
        text = digits.substr(0, whole) + "." + digits.substr(whole);
    }
    RemoveTrailingFractionZeros(text);
    return text;
}

// The power is built by repeated multiplication in extended precision; once it has
// overflowed or underflowed further steps cannot change it, so they are skipped. A zero or
// infinite mantissa is returned as it is, so the result is never NaN.
double ScaleByPowerOfTen(double mantissa, std::int32_t exponent) {
    if (mantissa == 0.0 || std::isinf(mantissa)) {
        return mantissa;
    }
    const bool shrink = exponent < 0;
    const long double step = shrink ? 1.0L / 10 : 10.0L;
    const auto bits = static_cast<std::uint32_t>(exponent);
    std::uint32_t count = shrink ? 0u - bits : bits;
    long double power = 1.0L;
    while (count > 0 && power != 0 && !std::isinf(power)) {
        power *= step;
        --count;
    }
    return static_cast<double>(mantissa * power);
}

} // namespace

std::string ValueToText(const TData& value) {
    switch (TagType(value)) {
    case TagInteger:
        return IntToText(value.IntValue);
    case TagString:
        return value.StrValue;
    case TagReal:
        return RealToText(value.RealValue);
    default:
        return {};
    }
}

std::int32_t ValueToInteger(const TData& value) {
    switch (TagType(value)) {
    case TagInteger:
        return value.IntValue;
    case TagString:
        return TextToInteger(value.StrValue);
    case TagReal:
        return RoundToInt32(value.RealValue);
    default:
        return 0;
    }
}

double ValueToReal(const TData& value) {
    switch (TagType(value)) {
    case TagInteger:
        return value.IntValue;
    case TagString:
        return TextToReal(value.StrValue);
    case TagReal:
        return value.RealValue;
    default:
        return 0.0;
    }
}

std::string IntToText(std::int32_t value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string RealToText(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Inf" : "Inf";
    }
    if (value == 0.0) {
        return "0";
    }
    const std::string text = FormatDecimal(ScaleToFifteenDigits(std::fabs(value)));
    return value < 0 ? "-" + text : text;
}

std::int32_t TextToInteger(const std::string& text) {
    std::size_t position = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        position = 1;
    }
    std::uint32_t result = 0;
    for (; position < text.size() && IsDigit(text[position]); ++position) {
        result = result * 10u + DigitValue(text[position]);
    }
    if (negative) {
        result = 0u - result;
    }
    return static_cast<std::int32_t>(result);
}

double TextToReal(const std::string& text) {
    const bool negative = !text.empty() && text[0] == '-';
    double result = 0.0;
    double scale = 1.0;
    bool inFraction = false;
    for (std::size_t position = negative ? 1 : 0; position < text.size(); ++position) {
        const char c = text[position];
        if (IsDigit(c)) {
            if (inFraction) {
                scale *= 0.1;
                result += DigitValue(c) * scale;
            } else {
                result = result * 10 + DigitValue(c);
            }
        } else if (c == '.') {
            if (inFraction) {
                break;
            }
            inFraction = true;
        } else if (c == 'e' || c == 'E') {
            result = ScaleByPowerOfTen(result, TextToInteger(text.substr(position + 1)));
            break;
        }
    }
    return negative ? -result : result;
}

std::int32_t RoundToInt32(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    constexpr double Modulus = 4294967296.0;
    // fmod is exact, so this is the rounded integer modulo 2^32 for every magnitude.
    double low = std::fmod(std::nearbyint(value), Modulus);
    if (low < 0) {
        low += Modulus;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(low));
}

std::int64_t RoundToInt64(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double Limit = 9223372036854775808.0; // 2^63
    const double rounded = std::nearbyint(value);
    if (rounded >= Limit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (rounded < -Limit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(rounded);
}
