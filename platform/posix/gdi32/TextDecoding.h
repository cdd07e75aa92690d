#pragma once

// Conversion of the program's byte strings into the characters they show. A string that is
// valid UTF-8 is read as UTF-8; any other string is read as Windows-1251, the code page of
// the program's own captions. Plain ASCII reads the same either way.

#include <string>
#include <string_view>

namespace posix::gdi {

// True when the bytes form well-formed UTF-8: shortest forms only, no surrogates, nothing
// above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// The character that a Windows-1251 byte stands for.
char32_t Windows1251ToUnicode(unsigned char byte);

// The characters of a string by the rule above.
std::u32string DecodeText(std::string_view bytes);

// Characters as UTF-8, and a string converted by the rule above, for libraries that take
// UTF-8 (font names, native window titles).
std::string EncodeUtf8(std::u32string_view text);
std::string TextToUtf8(std::string_view bytes);

} // namespace posix::gdi
