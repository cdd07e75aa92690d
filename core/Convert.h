#pragma once

#include <cstdint>
#include <string>

#include "core/TData.h"

// Conversions between values, texts and numbers. None of them fails: unreadable text
// reads as 0, and a tag other than integer, string or real reads as empty.
std::string ValueToText(const TData& value);
std::int32_t ValueToInteger(const TData& value);
double ValueToReal(const TData& value);

std::string IntToText(std::int32_t value);
// At most 15 significant digits and never an exponent; infinities give "Inf" / "-Inf"
// and not-a-number gives "NaN".
std::string RealToText(double value);
std::int32_t TextToInteger(const std::string& text);
double TextToReal(const std::string& text);

// Rounds to the nearest integer with halves to the even neighbour and keeps the low 32
// bits of the exact result (1e10 gives 1410065408). Infinities and NaN give 0.
std::int32_t RoundToInt32(double value);
// Rounds half to even; values beyond the 64-bit range saturate and NaN gives 0.
std::int64_t RoundToInt64(double value);
