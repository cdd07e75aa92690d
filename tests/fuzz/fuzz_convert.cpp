// Exercises the text and number conversions with arbitrary input. Every byte string is read
// as an integer and a real; when the input holds at least eight bytes, their bit pattern is
// also written as text, checked for its shape and read back.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Convert.h"

namespace {

// Absolute slack for tiny numbers: reading them back accumulates a scale that runs into
// the subnormal range, where each step can be off by a few units of 4.9e-324.
constexpr double TinySlack = 1e-320;
// Relative slack: both directions scale by ten a few hundred times, and the text may
// differ from a correctly rounded one in its fifteenth digit.
constexpr double RelativeSlack = 1e-13;

[[noreturn]] void Fail(const char* what, double value, const std::string& text) {
    std::fprintf(stderr, "%s: %.17g -> \"%s\"\n", what, value, text.c_str());
    std::abort();
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Optional minus sign, then a whole part without leading zeros ("0" alone is allowed),
// then optionally a point and a fraction that does not end in zero.
bool HasPlainDecimalShape(const std::string& text) {
    std::size_t position = text[0] == '-' ? 1 : 0;
    const std::size_t wholeStart = position;
    while (position < text.size() && IsDigit(text[position])) {
        ++position;
    }
    const std::size_t wholeLength = position - wholeStart;
    if (wholeLength == 0 || (wholeLength > 1 && text[wholeStart] == '0')) {
        return false;
    }
    if (position == text.size()) {
        return true;
    }
    if (text[position] != '.' || position + 1 == text.size() || text.back() == '0') {
        return false;
    }
    for (++position; position < text.size(); ++position) {
        if (!IsDigit(text[position])) {
            return false;
        }
    }
    return true;
}

std::size_t SignificantDigitCount(const std::string& text) {
    std::string digits;
    for (const char c : text) {
        if (IsDigit(c)) {
            digits += c;
        }
    }
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        return 0;
    }
    return digits.find_last_not_of('0') - first + 1;
}

double RoundedToFifteenDigits(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    return std::strtod(buffer, nullptr);
}

void CheckRealText(double value) {
    const std::string text = RealToText(value);
    if (std::isnan(value)) {
        if (text != "NaN") {
            Fail("not-a-number text", value, text);
        }
        return;
    }
    if (std::isinf(value)) {
        if (text != (value < 0 ? "-Inf" : "Inf")) {
            Fail("infinity text", value, text);
        }
        return;
    }
    if (!HasPlainDecimalShape(text)) {
        Fail("not a plain decimal", value, text);
    }
    if (SignificantDigitCount(text) > 15) {
        Fail("more than 15 significant digits", value, text);
    }
    if ((value == 0.0) != (text == "0")) {
        Fail("zero text", value, text);
    }
    const double expected = RoundedToFifteenDigits(value);
    const double readBack = TextToReal(text);
    if (std::fabs(readBack - expected) > RelativeSlack * std::fabs(expected) + TinySlack) {
        Fail("read back differs", value, text);
    }
}

void CheckTextReads(const std::string& text) {
    TextToInteger(text);
    const double real = TextToReal(text);
    if (std::isnan(real)) {
        Fail("text read as not-a-number", real, text);
    }
    RealToText(real);
    RoundToInt32(real);
    RoundToInt64(real);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckTextReads(std::string(reinterpret_cast<const char*>(data), size));
    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        CheckRealText(value);
    }
    return 0;
}
