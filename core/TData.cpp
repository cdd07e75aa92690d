#include "core/TData.h"

#include <utility>

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
