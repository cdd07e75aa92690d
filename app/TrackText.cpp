#include "app/TrackText.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace {

// Windows-1251 bytes 0x80 to 0xBF; from 0xC0 the Cyrillic letters follow in Unicode's order.
// 0x98 is unassigned and reads as the replacement character.
constexpr std::array<char16_t, 64> Windows1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

constexpr unsigned char FirstLetter = 0xC0;
constexpr char32_t CapitalA = 0x0410;

char32_t Windows1251ToUnicode(unsigned char byte) {
    if (byte < 0x80) {
        return byte;
    }
    if (byte >= FirstLetter) {
        return CapitalA + (byte - FirstLetter);
    }
    return Windows1251High[byte - 0x80];
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The length of the UTF-8 sequence starting at 'at', or 0 when it is not a valid one
// (overlong forms, surrogates and code points past U+10FFFF are invalid).
std::size_t Utf8SequenceLength(const std::string& text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return overlong || surrogate || code > 0x10FFFF ? 0 : length;
}

bool IsValidUtf8(const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

bool IsUnreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

int HexValue(char digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'a' && digit <= 'f') {
        return digit - 'a' + 10;
    }
    if (digit >= 'A' && digit <= 'F') {
        return digit - 'A' + 10;
    }
    return -1;
}

std::optional<std::string> PercentDecoded(const std::string& text) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '%') {
            out += text[at];
            continue;
        }
        const int high = at + 2 < text.size() ? HexValue(text[at + 1]) : -1;
        const int low = high >= 0 ? HexValue(text[at + 2]) : -1;
        if (low < 0 || (high == 0 && low == 0)) {
            return std::nullopt;
        }
        out += static_cast<char>(high * 16 + low);
        at += 2;
    }
    return out;
}

} // namespace

std::string DecodeText(const std::string& bytes) {
    if (IsValidUtf8(bytes)) {
        return bytes;
    }
    std::string out;
    for (const char byte : bytes) {
        AppendUtf8(out, Windows1251ToUnicode(static_cast<unsigned char>(byte)));
    }
    return out;
}

std::string TrackTitle(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    // A name that is all extension (".wav") keeps it.
    if (dot != std::string::npos && dot > 0) {
        name.resize(dot);
    }
    return DecodeText(name);
}

std::string FileUri(const std::string& absolutePath) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char each : absolutePath) {
        const auto byte = static_cast<unsigned char>(each);
        if (IsUnreserved(byte) || byte == '/') {
            uri += each;
        } else {
            uri += '%';
            uri += Hex[byte >> 4];
            uri += Hex[byte & 0x0F];
        }
    }
    return uri;
}

std::optional<std::string> PathOfFileUri(const std::string& uri) {
    static constexpr std::string_view Scheme = "file://";
    if (uri.size() < Scheme.size() || uri.compare(0, Scheme.size(), Scheme) != 0) {
        return std::nullopt;
    }
    const std::size_t pathStart = uri.find('/', Scheme.size());
    if (pathStart == std::string::npos) {
        return std::nullopt;
    }
    const std::string host = uri.substr(Scheme.size(), pathStart - Scheme.size());
    if (!host.empty() && host != "localhost") {
        return std::nullopt;
    }
    // A query or fragment is not part of a file's name.
    const std::size_t end = uri.find_first_of("?#", pathStart);
    return PercentDecoded(uri.substr(pathStart, end - pathStart));
}

std::string AbsolutePath(const std::string& path, const std::string& folder) {
    if (!path.empty() && path.front() == '/') {
        return path;
    }
    if (folder.empty() || folder.back() == '/') {
        return folder + path;
    }
    return folder + '/' + path;
}

TrackMetadata DescribeTrack(const std::string& path, std::uint32_t lengthMs,
                            std::uint64_t trackNumber, const std::string& folder) {
    constexpr std::int64_t MicrosecondsPerMs = 1000;
    TrackMetadata track;
    track.TrackId = "/org/kestrin/Player/Track/" + std::to_string(trackNumber);
    track.LengthUs = static_cast<std::int64_t>(lengthMs) * MicrosecondsPerMs;
    track.Url = FileUri(AbsolutePath(path, folder));
    track.Title = TrackTitle(path);
    return track;
}
