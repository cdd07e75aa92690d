#include "platform/posix/gdi32/TextDecoding.h"

#include <array>
#include <cstdint>

namespace posix::gdi {

namespace {

// Windows-1251 bytes 0x80-0xFF. The one byte the code page leaves undefined (0x98) maps to
// the C1 control of the same value, as the system's own conversion does.
constexpr std::array<char16_t, 128> windows1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // 0xB8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // 0xC0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, // 0xC8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, // 0xD0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, // 0xD8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, // 0xE0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, // 0xE8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, // 0xF0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, // 0xF8
};

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0u) == 0x80u;
}

// Decodes the UTF-8 sequence starting at bytes[at]. Answers its length, or 0 when the
// sequence is malformed, and stores the character in 'out'.
std::size_t DecodeUtf8Sequence(std::string_view bytes, std::size_t at, char32_t& out) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    std::size_t length = 0;
    std::uint32_t value = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80u) {
        out = lead;
        return 1;
    }
    if (lead >= 0xC2u && lead <= 0xDFu) {
        length = 2;
        value = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0u && lead <= 0xEFu) {
        length = 3;
        value = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0u && lead <= 0xF4u) {
        length = 4;
        value = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() - at < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if (!IsContinuation(next)) {
            return 0;
        }
        value = (value << 6) | (next & 0x3Fu);
    }
    const bool surrogate = value >= 0xD800u && value <= 0xDFFFu;
    if (value < minimum || value > 0x10FFFFu || surrogate) {
        return 0;
    }
    out = static_cast<char32_t>(value);
    return length;
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t at = 0;
    char32_t ignored = 0;
    while (at < bytes.size()) {
        const std::size_t length = DecodeUtf8Sequence(bytes, at, ignored);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

char32_t Windows1251ToUnicode(unsigned char byte) {
    if (byte < 0x80u) {
        return byte;
    }
    return windows1251High[byte - 0x80u];
}

std::u32string DecodeText(std::string_view bytes) {
    std::u32string text;
    text.reserve(bytes.size());
    if (IsValidUtf8(bytes)) {
        std::size_t at = 0;
        while (at < bytes.size()) {
            char32_t character = 0;
            at += DecodeUtf8Sequence(bytes, at, character);
            text.push_back(character);
        }
    } else {
        for (const char byte : bytes) {
            text.push_back(Windows1251ToUnicode(static_cast<unsigned char>(byte)));
        }
    }
    return text;
}

std::string EncodeUtf8(std::u32string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (const char32_t character : text) {
        auto value = static_cast<std::uint32_t>(character);
        if (value > 0x10FFFFu || (value >= 0xD800u && value <= 0xDFFFu)) {
            value = 0xFFFDu;
        }
        if (value < 0x80u) {
            bytes.push_back(static_cast<char>(value));
        } else if (value < 0x800u) {
            bytes.push_back(static_cast<char>(0xC0u | (value >> 6)));
            bytes.push_back(static_cast<char>(0x80u | (value & 0x3Fu)));
        } else if (value < 0x10000u) {
            bytes.push_back(static_cast<char>(0xE0u | (value >> 12)));
            bytes.push_back(static_cast<char>(0x80u | ((value >> 6) & 0x3Fu)));
            bytes.push_back(static_cast<char>(0x80u | (value & 0x3Fu)));
        } else {
            bytes.push_back(static_cast<char>(0xF0u | (value >> 18)));
            bytes.push_back(static_cast<char>(0x80u | ((value >> 12) & 0x3Fu)));
            bytes.push_back(static_cast<char>(0x80u | ((value >> 6) & 0x3Fu)));
            bytes.push_back(static_cast<char>(0x80u | (value & 0x3Fu)));
        }
    }
    return bytes;
}

std::string TextToUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return EncodeUtf8(DecodeText(bytes));
}

} // namespace posix::gdi
