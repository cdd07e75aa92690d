#include "tests/platform/gdi32/GdiTestSurface.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr COLORREF white = RGB(255, 255, 255);

class GdiDrawText : public testing::Test {
protected:
    GdiDrawText() : surface_(200, 100), font_("MS Sans Serif", 16) {
        old_ = SelectObject(surface_.Dc(), font_.Handle());
        SetBkMode(surface_.Dc(), TRANSPARENT);
        GetTextMetricsA(surface_.Dc(), &metrics_);
    }
    ~GdiDrawText() override { SelectObject(surface_.Dc(), old_); }

    int Draw(const std::string& text, RECT rect, UINT format) {
        return DrawTextA(surface_.Dc(), text.c_str(), -1, &rect, format);
    }
    RECT Calc(const std::string& text, RECT rect, UINT format) {
        DrawTextA(surface_.Dc(), text.c_str(), static_cast<int>(text.size()), &rect,
                  format | DT_CALCRECT);
        return rect;
    }
    LONG Width(const std::string& text) {
        SIZE size{};
        GetTextExtentPoint32A(surface_.Dc(), text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

    GdiTestSurface surface_;
    GdiTestFont font_;
    HGDIOBJ old_;
    TEXTMETRICA metrics_{};
};

TEST_F(GdiDrawText, HorizontalAlignmentPutsTheInkWhereAsked) {
    const RECT rect{20, 10, 180, 40};
    const LONG width = Width("Pause");
    struct Case {
        const char* Name;
        UINT Format;
        int Left; // where the text's box starts
    };
    const Case cases[] = {
        {"left", DT_LEFT, 20},
        {"centre", DT_CENTER, 20 + (160 - width) / 2},
        {"right", DT_RIGHT, 180 - width},
    };
    for (const Case& c : cases) {
        surface_.Clear(white);
        Draw("Pause", rect, c.Format | DT_SINGLELINE);
        const RECT ink = surface_.InkBounds(white);
        EXPECT_GE(ink.left, c.Left) << c.Name;
        EXPECT_LE(ink.left, c.Left + 2) << c.Name;
        EXPECT_LE(ink.right, c.Left + width + 1) << c.Name;
        EXPECT_GE(ink.right, c.Left + width - 2) << c.Name;
    }
}

TEST_F(GdiDrawText, VerticalAlignmentOfASingleLine) {
    const RECT rect{0, 0, 200, 100};
    struct Case {
        const char* Name;
        UINT Format;
        int Top;
    };
    const Case cases[] = {
        {"top", DT_TOP, 0},
        {"centre", DT_VCENTER, (100 - metrics_.tmHeight) / 2},
        {"bottom", DT_BOTTOM, 100 - metrics_.tmHeight},
    };
    for (const Case& c : cases) {
        surface_.Clear(white);
        const int answer = Draw("Stop", rect, c.Format | DT_SINGLELINE);
        const RECT ink = surface_.InkBounds(white);
        EXPECT_GE(ink.top, c.Top) << c.Name;
        EXPECT_LE(ink.bottom, c.Top + metrics_.tmHeight) << c.Name;
        // The answer is the height of the text, measured from the rectangle's top.
        EXPECT_EQ(answer, c.Top + metrics_.tmHeight) << c.Name;
    }
}

TEST_F(GdiDrawText, CalcRectMeasuresWithoutDrawing) {
    RECT single = Calc("Kestrin", RECT{5, 5, 6, 6}, DT_SINGLELINE);
    EXPECT_EQ(single.left, 5);
    EXPECT_EQ(single.right - single.left, Width("Kestrin"));
    EXPECT_EQ(single.bottom - single.top, metrics_.tmHeight);
    const RECT lines = Calc("a\r\nbb\nccc\rd\n", RECT{0, 0, 200, 0}, DT_LEFT);
    EXPECT_EQ(lines.bottom, 4 * metrics_.tmHeight); // no empty line after the last break
    EXPECT_EQ(lines.right, Width("ccc"));
    EXPECT_EQ(surface_.CountOther(white), 0);
    const RECT empty = Calc("", RECT{3, 3, 50, 50}, DT_LEFT);
    EXPECT_EQ(empty.right, 3);
    EXPECT_EQ(empty.bottom, 3);
}

TEST_F(GdiDrawText, WordBreakWrapsAtSpacesWithinTheWidth) {
    const std::string text = "one two three four five six";
    const LONG narrow = Width("three four") + 2;
    const RECT wrapped = Calc(text, RECT{0, 0, narrow, 0}, DT_WORDBREAK);
    EXPECT_LE(wrapped.right, narrow);
    EXPECT_EQ(wrapped.bottom % metrics_.tmHeight, 0);
    EXPECT_GE(wrapped.bottom / metrics_.tmHeight, 3);
    // Without DT_WORDBREAK the text stays on one line.
    EXPECT_EQ(Calc(text, RECT{0, 0, narrow, 0}, DT_LEFT).bottom, metrics_.tmHeight);
    // Each line starts at the left edge: a line never begins with the breaking space.
    Draw(text, RECT{10, 0, 10 + narrow, 100}, DT_WORDBREAK);
    for (int line = 0; line < wrapped.bottom / metrics_.tmHeight; ++line) {
        const RECT band{0, line * metrics_.tmHeight, 200, (line + 1) * metrics_.tmHeight};
        EXPECT_GT(surface_.CountOther(RECT{10, band.top, 13, band.bottom}, white), 0) << line;
    }
}

TEST_F(GdiDrawText, AWordTooLongForALineIsBrokenInside) {
    const std::string word = "Extraordinarily";
    const LONG narrow = Width("Extra");
    const RECT rect = Calc(word, RECT{0, 0, narrow, 0}, DT_WORDBREAK);
    EXPECT_LE(rect.right, narrow);
    EXPECT_GE(rect.bottom / metrics_.tmHeight, 3);
    Draw(word, RECT{0, 0, narrow, 100}, DT_WORDBREAK);
    EXPECT_LE(surface_.InkBounds(white).right, narrow);
}

TEST_F(GdiDrawText, PrefixesUnderlineTheNextCharacter) {
    EXPECT_EQ(Calc("&File", RECT{0, 0, 0, 0}, DT_SINGLELINE).right, Width("File"));
    EXPECT_EQ(Calc("&File", RECT{0, 0, 0, 0}, DT_SINGLELINE | DT_NOPREFIX).right, Width("&File"));
    EXPECT_EQ(Calc("A&&B", RECT{0, 0, 0, 0}, DT_SINGLELINE).right, Width("A&B"));

    const LONG f = Width("F");
    const int underlineTop = metrics_.tmAscent;
    const RECT below{0, underlineTop, 200, metrics_.tmHeight};
    Draw("&File", RECT{0, 0, 200, 40}, DT_SINGLELINE);
    const int withPrefix = surface_.CountOther(below, white);
    surface_.Clear(white);
    Draw("File", RECT{0, 0, 200, 40}, DT_SINGLELINE);
    const int without = surface_.CountOther(below, white);
    EXPECT_GE(withPrefix - without, f - 1);
    // Only the prefixed character is underlined.
    surface_.Clear(white);
    Draw("Fi&le", RECT{0, 0, 200, 40}, DT_SINGLELINE);
    EXPECT_EQ(surface_.CountOther(RECT{0, underlineTop, f, metrics_.tmHeight}, white), 0);
}

TEST_F(GdiDrawText, EndEllipsisKeepsTheLineInsideTheRectangle) {
    const std::string text = "A very long file name that does not fit.mp3";
    const LONG narrow = Width("A very long");
    const RECT rect{0, 0, narrow, 20};
    Draw(text, rect, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    const RECT ink = surface_.InkBounds(white);
    EXPECT_LE(ink.right, narrow);
    EXPECT_GT(ink.right, narrow - Width("...") - Width("W"));
    // A text that fits is left alone.
    EXPECT_EQ(Calc("short", rect, DT_SINGLELINE | DT_END_ELLIPSIS).right, Width("short"));
}

TEST_F(GdiDrawText, TabsExpandToEightAverageCharacters) {
    const RECT expanded = Calc("a\tb", RECT{0, 0, 0, 0}, DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(expanded.right, 8 * metrics_.tmAveCharWidth + Width("b"));
    const RECT plain = Calc("a\tb", RECT{0, 0, 0, 0}, DT_SINGLELINE);
    EXPECT_EQ(plain.right, Width("a") + Width("b"));
}

TEST_F(GdiDrawText, DrawingIsClippedToTheRectangleUnlessAskedNotTo) {
    const RECT rect{10, 10, 40, 20}; // shorter than a line and narrower than the text
    Draw("Clipped words", rect, DT_LEFT);
    const RECT ink = surface_.InkBounds(white);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 40);
    EXPECT_LE(ink.bottom, 20);
    surface_.Clear(white);
    Draw("Clipped words", rect, DT_LEFT | DT_NOCLIP);
    EXPECT_GT(surface_.InkBounds(white).right, 40);
}

TEST_F(GdiDrawText, BadArgumentsDrawNothing) {
    RECT rect{0, 0, 50, 50};
    EXPECT_EQ(DrawTextA(surface_.Dc(), nullptr, 5, &rect, 0), 0);
    EXPECT_EQ(DrawTextA(surface_.Dc(), "x", 1, nullptr, 0), 0);
    EXPECT_EQ(DrawTextA(nullptr, "x", 1, &rect, 0), 0);
    EXPECT_EQ(surface_.CountOther(white), 0);
}

} // namespace
