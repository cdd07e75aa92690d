// DrawTextA: formatted text in a rectangle (alignment, line breaks, word wrapping, prefix
// underlines, end ellipses, tabs).

#include "platform/posix/gdi32/DeviceContext.h"
#include "platform/posix/gdi32/GlyphRun.h"
#include "platform/posix/gdi32/RealizedFont.h"
#include "platform/posix/gdi32/TextDecoding.h"
#include "platform/win32.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

using posix::gdi::DeviceContext;
using posix::gdi::ObjectTable;
using posix::gdi::RealizedFont;
using posix::gdi::RunLayout;

namespace {

constexpr int tabCharacters = 8;

// Text with its prefix characters taken out: Marked tells which characters followed a
// single '&' and are underlined. "&&" stands for one '&'.
struct PrefixedText {
    std::u32string Text;
    std::vector<bool> Marked;
};

struct Line {
    std::u32string Text;
    int Underlined = -1; // index in Text of the character to underline, or -1
};

struct LineBreak {
    std::size_t End;  // where the line's text ends
    std::size_t Next; // where the next line starts
};

PrefixedText StripPrefixes(std::u32string_view text, bool process) {
    PrefixedText result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool marked = false;
        if (process && text[i] == U'&') {
            if (i + 1 == text.size()) {
                break;
            }
            ++i;
            marked = text[i] != U'&';
        }
        result.Text.push_back(text[i]);
        result.Marked.push_back(marked);
    }
    return result;
}

// Paragraphs end at CR LF, LF or CR. A text ending in a line break has no empty last line.
std::vector<std::pair<std::size_t, std::size_t>> Paragraphs(const std::u32string& text,
                                                            bool singleLine) {
    std::vector<std::pair<std::size_t, std::size_t>> paragraphs;
    if (text.empty()) {
        return paragraphs;
    }
    if (singleLine) {
        paragraphs.emplace_back(0, text.size());
        return paragraphs;
    }
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != U'\r' && text[i] != U'\n') {
            continue;
        }
        paragraphs.emplace_back(begin, i);
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
            ++i;
        }
        begin = i + 1;
    }
    if (begin < text.size()) {
        paragraphs.emplace_back(begin, text.size());
    }
    return paragraphs;
}

class TextFormatter {
public:
    TextFormatter(RealizedFont& font, UINT format, int maximumWidth)
        : font_(font), format_(format), maximumWidth_(maximumWidth),
          tabWidth_((format & DT_EXPANDTABS) != 0 ? tabCharacters * font.Metrics().AverageWidth
                                                  : 0) {}

    std::vector<Line> Lines(const PrefixedText& text) const;
    RunLayout LayOut(const Line& line) const {
        return posix::gdi::LayOutRun(font_, line.Text, tabWidth_);
    }

private:
    LineBreak Fit(const std::u32string& text, std::size_t begin, std::size_t end) const;
    Line MakeLine(const PrefixedText& text, std::size_t begin, std::size_t end) const;
    void Ellipsize(Line& line) const;

    RealizedFont& font_;
    UINT format_;
    int maximumWidth_;
    int tabWidth_;
};

// The longest start of text[begin, end) that fits the width, broken after a word where one
// fits. A word too long for a line of its own is broken where it overflows; every line
// takes at least one character. Spaces at a break belong to neither line.
LineBreak TextFormatter::Fit(const std::u32string& text, std::size_t begin, std::size_t end) const {
    posix::gdi::RunPen pen(font_, tabWidth_);
    std::optional<LineBreak> lastBreak;
    for (std::size_t i = begin; i < end; ++i) {
        const char32_t character = text[i];
        pen.Place(character);
        if (character == U' ') {
            if (i > begin && text[i - 1] != U' ') {
                std::size_t next = i;
                while (next < end && text[next] == U' ') {
                    ++next;
                }
                lastBreak = LineBreak{i, next};
            }
        } else if (pen.Position() > maximumWidth_ && i > begin) {
            if (lastBreak) {
                return *lastBreak;
            }
            if (maximumWidth_ > 0) {
                return LineBreak{i, i};
            }
        }
    }
    return LineBreak{end, end};
}

Line TextFormatter::MakeLine(const PrefixedText& text, std::size_t begin, std::size_t end) const {
    Line line;
    line.Text = text.Text.substr(begin, end - begin);
    for (std::size_t i = begin; i < end; ++i) {
        if (text.Marked[i]) {
            line.Underlined = static_cast<int>(i - begin);
        }
    }
    return line;
}

// Cuts a line that is too wide and ends it with "...", keeping what fits before it.
void TextFormatter::Ellipsize(Line& line) const {
    const RunLayout layout = LayOut(line);
    if (layout.Width <= maximumWidth_) {
        return;
    }
    const std::u32string ellipsis = U"...";
    const int ellipsisWidth = posix::gdi::LayOutRun(font_, ellipsis, 0).Width;
    const auto widthBefore = [&](std::size_t count) {
        return std::int64_t{count < layout.Offsets.size() ? layout.Offsets[count] : layout.Width};
    };
    std::size_t keep = line.Text.size();
    while (keep > 0 && widthBefore(keep) + ellipsisWidth > maximumWidth_) {
        --keep;
    }
    line.Text = line.Text.substr(0, keep) + ellipsis;
    if (line.Underlined >= static_cast<int>(keep)) {
        line.Underlined = -1;
    }
}

std::vector<Line> TextFormatter::Lines(const PrefixedText& text) const {
    const bool singleLine = (format_ & DT_SINGLELINE) != 0;
    const bool wrap = !singleLine && (format_ & DT_WORDBREAK) != 0;
    std::vector<Line> lines;
    for (const auto& [begin, end] : Paragraphs(text.Text, singleLine)) {
        if (!wrap || begin == end) {
            lines.push_back(MakeLine(text, begin, end));
            continue;
        }
        std::size_t at = begin;
        while (at < end) {
            const LineBreak lineBreak = Fit(text.Text, at, end);
            lines.push_back(MakeLine(text, at, lineBreak.End));
            at = lineBreak.Next;
        }
    }
    if ((format_ & DT_END_ELLIPSIS) != 0) {
        for (Line& line : lines) {
            Ellipsize(line);
        }
    }
    return lines;
}

std::int64_t FloorHalf(std::int64_t value) {
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

int Clamped(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

int WINAPI DrawTextA(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format) {
    DeviceContext* context = ObjectTable::Instance().FindAs<DeviceContext>(dc);
    if (context == nullptr || rect == nullptr || (text == nullptr && length != 0)) {
        return 0;
    }
    const std::size_t size = length < 0 ? std::strlen(text) : static_cast<std::size_t>(length);
    RealizedFont& font = context->Font();
    const std::int64_t rectWidth = std::int64_t{rect->right} - rect->left;
    const TextFormatter formatter(
        font, format, static_cast<int>(std::clamp<std::int64_t>(rectWidth, 0, INT32_MAX)));
    const PrefixedText prefixed =
        StripPrefixes(posix::gdi::DecodeText(std::string_view(text == nullptr ? "" : text, size)),
                      (format & DT_NOPREFIX) == 0);
    const std::vector<Line> lines = formatter.Lines(prefixed);
    const std::int64_t lineHeight =
        font.Height() + ((format & DT_EXTERNALLEADING) != 0 ? font.Metrics().ExternalLeading : 0);
    const std::int64_t textHeight = lineHeight * static_cast<std::int64_t>(lines.size());

    if ((format & DT_CALCRECT) != 0) {
        std::int64_t widest = 0;
        for (const Line& line : lines) {
            widest = std::max<std::int64_t>(widest, formatter.LayOut(line).Width);
        }
        rect->right = Clamped(std::int64_t{rect->left} + widest);
        rect->bottom = Clamped(std::int64_t{rect->top} + textHeight);
        return Clamped(textHeight);
    }

    std::int64_t top = rect->top;
    if ((format & DT_SINGLELINE) != 0) {
        if ((format & DT_VCENTER) != 0) {
            top += FloorHalf(std::int64_t{rect->bottom} - rect->top - textHeight);
        } else if ((format & DT_BOTTOM) != 0) {
            top = std::int64_t{rect->bottom} - textHeight;
        }
    }
    std::optional<RECT> clip;
    if ((format & DT_NOCLIP) == 0) {
        clip = *rect;
    }
    std::int64_t y = top;
    for (const Line& line : lines) {
        const RunLayout layout = formatter.LayOut(line);
        std::int64_t x = rect->left;
        if ((format & DT_CENTER) != 0) {
            x += FloorHalf(rectWidth - layout.Width);
        } else if ((format & DT_RIGHT) != 0) {
            x = std::int64_t{rect->right} - layout.Width;
        }
        posix::gdi::DrawRun(*context, font, line.Text, layout, Clamped(x), Clamped(y), clip);
        if (line.Underlined >= 0) {
            const auto index = static_cast<std::size_t>(line.Underlined);
            const std::int64_t start = x + layout.Offsets[index];
            const std::int64_t stop = index + 1 < layout.Offsets.size()
                                          ? x + layout.Offsets[index + 1]
                                          : x + layout.Width;
            posix::gdi::DrawUnderline(*context, font, Clamped(start), Clamped(stop), Clamped(y),
                                      clip);
        }
        y += lineHeight;
    }
    return Clamped(y - rect->top);
}
