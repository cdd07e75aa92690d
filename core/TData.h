#pragma once

#include <cstdint>
#include <string>
#include <utility>

class ArrayAccessor;
class MatrixAccessor;
struct TZu_Event;

// Type tags of a value. The codes are fixed; every other code reads like TagNone.
inline constexpr std::uint8_t TagNone = 0;
inline constexpr std::uint8_t TagInteger = 1;
inline constexpr std::uint8_t TagString = 2;
inline constexpr std::uint8_t TagReal = 7;
inline constexpr std::uint8_t TagArray = 13;
inline constexpr std::uint8_t TagMatrix = 16;
// Set by a receiving input to ask the dispatcher to continue at Forward.
inline constexpr std::uint8_t TagForwardFlag = 0x80;

// The dynamically typed value carried by every link.
struct TData {
    std::uint8_t Tag = TagNone;
    std::int32_t IntValue = 0;
    std::string StrValue;
    double RealValue = 0.0;
    TZu_Event* Forward = nullptr;
    // Accessor of a TagArray or TagMatrix value. Pointers are wider than IntValue on
    // 64-bit targets, so the reference has a field of its own.
    void* Accessor = nullptr;
};

// The type part of a value's tag, without the dispatcher's forward request.
inline std::uint8_t TagType(const TData& value) {
    return static_cast<std::uint8_t>(value.Tag & ~TagForwardFlag);
}

// The font description every windowed element carries.
struct TFontRec {
    std::string FontName;
    std::uint8_t FontSize = 0;
    std::uint8_t FontStyle = 0;
    std::uint32_t FontColor = 0;
    std::uint8_t FontCharset = 0;
};

// Values are made on every link call, so making one stays inline.
inline TData MakeInteger(std::int32_t value) {
    TData data;
    data.Tag = TagInteger;
    data.IntValue = value;
    return data;
}

inline TData MakeString(std::string value) {
    TData data;
    data.Tag = TagString;
    data.StrValue = std::move(value);
    return data;
}

inline TData MakeReal(double value) {
    TData data;
    data.Tag = TagReal;
    data.RealValue = value;
    return data;
}

inline TData MakeArray(ArrayAccessor* accessor) {
    TData data;
    data.Tag = TagArray;
    data.Accessor = accessor;
    return data;
}

inline TData MakeMatrix(MatrixAccessor* accessor) {
    TData data;
    data.Tag = TagMatrix;
    data.Accessor = accessor;
    return data;
}

TFontRec MakeFontRec(std::string name, std::uint8_t size, std::uint8_t style, std::uint32_t color,
                     std::uint8_t charset);
