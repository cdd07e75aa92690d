#include "platform/posix/gdi32/TextDecoding.h"

#include <gtest/gtest.h>

using posix::gdi::DecodeText;
using posix::gdi::EncodeUtf8;
using posix::gdi::IsValidUtf8;
using posix::gdi::TextToUtf8;
using posix::gdi::Windows1251ToUnicode;

namespace {

// "траене:" in Windows-1251, and "Café Ёлка.mp3" in UTF-8.
constexpr char windows1251Word[] = "\xF2\xF0\xE0\xE5\xED\xE5\x3A";
constexpr char utf8Name[] = "Caf\xC3\xA9 \xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0.mp3";

struct Utf8Case {
    const char* Name;
    std::string Bytes;
    bool Valid;
};

TEST(GdiTextDecoding, Utf8ValidityFollowsTheWellFormedRules) {
    const Utf8Case cases[] = {
        {"empty", "", true},
        {"ascii", "Play list.m3u", true},
        {"two bytes", "\xC3\xA9", true},
        {"three bytes", "\xE2\x82\xAC", true},
        {"four bytes", "\xF0\x9F\x8E\xB5", true},
        {"largest character", "\xF4\x8F\xBF\xBF", true},
        {"overlong slash", "\xC0\xAF", false},
        {"overlong three bytes", "\xE0\x80\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"lead byte F5", "\xF5\x80\x80\x80", false},
        {"truncated at the end", "ab\xE2\x82", false},
        {"stray continuation", "a\x80z", false},
        {"lead without continuation", "\xD0 ", false},
        {"Windows-1251 word", windows1251Word, false},
    };
    for (const Utf8Case& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.Bytes), c.Valid) << c.Name;
    }
}

TEST(GdiTextDecoding, Windows1251BytesDecodeToCyrillic) {
    EXPECT_EQ(DecodeText(windows1251Word), U"траене:");
    EXPECT_EQ(DecodeText("\xC1\xFA\xEB\xE3\xE0\xF0\xF1\xEA\xE8"), U"Български");
}

TEST(GdiTextDecoding, ValidUtf8DecodesAsUtf8) {
    EXPECT_EQ(DecodeText(utf8Name), U"Café Ёлка.mp3");
    // Two bytes that are valid UTF-8 ("а") read as UTF-8, not as the 1251 pair "Р°".
    EXPECT_EQ(DecodeText("\xD0\xB0"), U"а");
}

TEST(GdiTextDecoding, OneInvalidSequenceMakesTheWholeStringWindows1251) {
    // A UTF-8 "é" next to a lone 1251 byte: the string is not UTF-8, so every byte is 1251.
    EXPECT_EQ(DecodeText("\xC3\xA9\xE0"), U"Г©а");
}

TEST(GdiTextDecoding, Windows1251TableCoversTheSpecialBytes) {
    const std::pair<unsigned char, char32_t> cases[] = {
        {0x41, U'A'},      {0x80, U'\u0402'}, {0x88, U'\u20AC'}, {0x96, U'\u2013'},
        {0x98, U'\u0098'}, {0xA0, U'\u00A0'}, {0xA8, U'Ё'},      {0xAA, U'Є'},
        {0xB2, U'І'},      {0xB8, U'ё'},      {0xB9, U'№'},      {0xC0, U'А'},
        {0xDF, U'Я'},      {0xE0, U'а'},      {0xFF, U'я'},
    };
    for (const auto& [byte, character] : cases) {
        EXPECT_EQ(Windows1251ToUnicode(byte), character) << int{byte};
    }
}

TEST(GdiTextDecoding, Utf8EncodingRoundTripsEveryWindows1251Character) {
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        const std::string single(1, static_cast<char>(byte));
        const std::string utf8 = TextToUtf8(single);
        ASSERT_TRUE(IsValidUtf8(utf8)) << byte;
        EXPECT_EQ(DecodeText(utf8), DecodeText(single)) << byte;
    }
    EXPECT_EQ(TextToUtf8(utf8Name), utf8Name);
    EXPECT_EQ(EncodeUtf8(U"\U0001F3B5"), "\xF0\x9F\x8E\xB5");
    EXPECT_EQ(EncodeUtf8(std::u32string(1, char32_t{0x110000})), "\xEF\xBF\xBD");
}

} // namespace
