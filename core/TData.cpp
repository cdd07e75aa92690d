#include "core/TData.h"

#include <utility>

TData MakeInteger(std::int32_t value) {
    TData data;
    data.Tag = TagInteger;
    data.IntValue = value;
    return data;
}

TData MakeString(std::string value) {
    TData data;
    data.Tag = TagString;
    data.StrValue = std::move(value);
    return data;
}

TData MakeReal(double value) {
    TData data;
    data.Tag = TagReal;
    data.RealValue = value;
    return data;
}

TData MakeArray(ArrayAccessor* accessor) {
    TData data;
    data.Tag = TagArray;
    data.Accessor = accessor;
    return data;
}

TData MakeMatrix(MatrixAccessor* accessor) {
    TData data;
    data.Tag = TagMatrix;
    data.Accessor = accessor;
    return data;
}

TFontRec MakeFontRec(std::string name, std::uint8_t size, std::uint8_t style, std::uint32_t color,
                     std::uint8_t charset) {
    TFontRec font;
    font.FontName = std::move(name);
    font.FontSize = size;
    font.FontStyle = style;
    font.FontColor = color;
    font.FontCharset = charset;
    return font;
}
