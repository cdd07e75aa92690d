#include "platform/posix/gdi32/TextDecoding.h"
#include "tests/platform/gdi32/GdiTestSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

constexpr COLORREF white = RGB(255, 255, 255);

// A surface with a 16-pixel sans font selected, black text on white.
class GdiText : public testing::Test {
protected:
    GdiText() : surface_(240, 60), font_("MS Sans Serif", 16) {
        old_ = SelectObject(surface_.Dc(), font_.Handle());
    }
    ~GdiText() override { SelectObject(surface_.Dc(), old_); }

    SIZE Extent(const std::string& text) {
        SIZE size{-1, -1};
        EXPECT_TRUE(GetTextExtentPoint32A(surface_.Dc(), text.data(), static_cast<int>(text.size()),
                                          &size));
        return size;
    }
    void Out(int x, int y, const std::string& text) {
        TextOutA(surface_.Dc(), x, y, text.data(), static_cast<int>(text.size()));
    }

    GdiTestSurface surface_;
    GdiTestFont font_;
    HGDIOBJ old_;
};

TEST_F(GdiText, InkStaysInsideTheMeasuredBox) {
    const std::string text = "Kestrin: Play [03:45]";
    const SIZE size = Extent(text);
    Out(20, 10, text);
    const RECT ink = surface_.InkBounds(white);
    ASSERT_LT(ink.left, ink.right);
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 20 + size.cx + 1); // a glyph may overhang its advance by a pixel
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.bottom, 10 + size.cy);
    // The ink fills most of the box: the measurement is not too generous either.
    EXPECT_GE(ink.right - ink.left, size.cx - 4);
}

TEST_F(GdiText, MeasurementGrowsWithTheTextAndAddsUp) {
    const std::string text = "Playlist, 12 items";
    LONG previous = 0;
    for (std::size_t length = 1; length <= text.size(); ++length) {
        const LONG width = Extent(text.substr(0, length)).cx;
        EXPECT_GE(width, previous) << length;
        previous = width;
    }
    // No kerning, as GDI; hinting may move a pair by a pixel at most.
    EXPECT_NEAR(Extent("AV").cx, Extent("A").cx + Extent("V").cx, 1);
    const SIZE empty = Extent("");
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, 0);
    SIZE size{};
    EXPECT_FALSE(GetTextExtentPoint32A(surface_.Dc(), "x", -1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(surface_.Dc(), "x", 1, nullptr));
}

TEST_F(GdiText, DrawsInTheTextColourAndFillsTheCellWhenOpaque) {
    SetTextColor(surface_.Dc(), RGB(200, 0, 0));
    SetBkColor(surface_.Dc(), RGB(0, 0, 200));
    SetBkMode(surface_.Dc(), TRANSPARENT);
    Out(2, 2, "Il");
    const SIZE size = Extent("Il");
    // Antialiased ink is a blend of the text colour into what was there, reaching (nearly)
    // the text colour itself on the stems.
    int darkest = 255;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 240; ++x) {
            const COLORREF pixel = surface_.At(x, y);
            EXPECT_EQ(GetGValue(pixel), GetBValue(pixel));
            EXPECT_GE(GetRValue(pixel), 200);
            darkest = std::min<int>(darkest, GetGValue(pixel));
        }
    }
    EXPECT_LT(darkest, 64);

    surface_.Clear(white);
    SetBkMode(surface_.Dc(), OPAQUE);
    Out(2, 2, "Il");
    EXPECT_EQ(surface_.At(2 + size.cx - 1, 2), RGB(0, 0, 200));
    EXPECT_EQ(surface_.At(2 + size.cx, 2), white);
    EXPECT_EQ(surface_.At(2, 2 + size.cy), white);
}

TEST_F(GdiText, ExtTextOutFillsAndClipsToItsRectangle) {
    SetBkColor(surface_.Dc(), RGB(0, 200, 0));
    SetBkMode(surface_.Dc(), TRANSPARENT);
    const RECT rect{10, 5, 40, 30};
    const std::string text = "Clipped text runs long";
    ASSERT_TRUE(ExtTextOutA(surface_.Dc(), 12, 8, ETO_OPAQUE | ETO_CLIPPED, &rect, text.data(),
                            static_cast<UINT>(text.size()), nullptr));
    EXPECT_EQ(surface_.At(10, 5), RGB(0, 200, 0));
    EXPECT_EQ(surface_.At(39, 29), RGB(0, 200, 0));
    const RECT ink = surface_.InkBounds(white);
    EXPECT_EQ(ink.left, 10);
    EXPECT_EQ(ink.right, 40);
    EXPECT_EQ(ink.bottom, 30);
    // Given advances place the characters.
    surface_.Clear(white);
    const int advances[] = {30, 30};
    ExtTextOutA(surface_.Dc(), 0, 0, 0, nullptr, "ii", 2, advances);
    EXPECT_GT(surface_.CountOther(RECT{30, 0, 40, 30}, white), 0);
}

TEST_F(GdiText, TextAlignmentMovesTheReferencePoint) {
    SetBkMode(surface_.Dc(), TRANSPARENT);
    const SIZE size = Extent("Wide");
    TEXTMETRICA metrics{};
    GetTextMetricsA(surface_.Dc(), &metrics);
    struct Case {
        UINT Align;
        int Left;
        int Top;
    };
    const Case cases[] = {
        {TA_LEFT | TA_TOP, 100, 20},
        {TA_RIGHT | TA_TOP, 100 - size.cx, 20},
        {TA_CENTER | TA_TOP, 100 - size.cx / 2, 20},
        {TA_LEFT | TA_BOTTOM, 100, 20 - size.cy},
        {TA_LEFT | TA_BASELINE, 100, 20 - metrics.tmAscent},
    };
    for (const Case& c : cases) {
        surface_.Clear(white);
        SetTextAlign(surface_.Dc(), c.Align);
        Out(100, 20, "Wide");
        const RECT ink = surface_.InkBounds(white);
        // The last glyph may overhang its advance by a pixel.
        EXPECT_GE(ink.left, c.Left) << c.Align;
        EXPECT_LE(ink.right, c.Left + size.cx + 1) << c.Align;
        EXPECT_GE(ink.right, c.Left + size.cx - 2) << c.Align;
        EXPECT_GE(ink.top, c.Top) << c.Align;
        EXPECT_LE(ink.bottom, c.Top + size.cy) << c.Align;
    }
    SetTextAlign(surface_.Dc(), TA_UPDATECP);
    MoveToEx(surface_.Dc(), 7, 0, nullptr);
    Out(0, 0, "Wide");
    POINT position{};
    MoveToEx(surface_.Dc(), 0, 0, &position);
    EXPECT_EQ(position.x, 7 + size.cx);
    SetTextAlign(surface_.Dc(), TA_LEFT | TA_TOP);
}

TEST_F(GdiText, CyrillicMeasuresAlikeInEitherEncoding) {
    const std::string windows1251 = "\xF2\xF0\xE0\xE5\xED\xE5\x3A"; // "траене:"
    const std::string utf8 = posix::gdi::TextToUtf8(windows1251);
    ASSERT_NE(utf8, windows1251);
    EXPECT_EQ(Extent(windows1251).cx, Extent(utf8).cx);
    // A UTF-8 name measures as its characters do, piece by piece (give or take the pixel by
    // which each pair across the four seams may close up or open), and not as the bytes
    // would if they were read as Windows-1251.
    const std::string name = "Caf\xC3\xA9 \xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0.mp3"; // Café Ёлка.mp3
    const LONG byParts = Extent("Caf").cx + Extent("\xC3\xA9").cx + Extent(" ").cx +
                         Extent("\xA8\xEB\xEA\xE0").cx + Extent(".mp3").cx;
    EXPECT_NEAR(Extent(name).cx, byParts, 4);
    std::u32string misread;
    for (const char byte : name) {
        misread.push_back(posix::gdi::Windows1251ToUnicode(static_cast<unsigned char>(byte)));
    }
    EXPECT_NE(Extent(posix::gdi::EncodeUtf8(misread)).cx, Extent(name).cx);
}

TEST_F(GdiText, CyrillicDrawsTheSameInEitherEncoding) {
    const std::string windows1251 = "\xF2\xF0\xE0\xE5\xED\xE5\x3A";
    Out(0, 0, windows1251);
    GdiTestSurface other(240, 60);
    const HGDIOBJ old = SelectObject(other.Dc(), font_.Handle());
    const std::string utf8 = posix::gdi::TextToUtf8(windows1251);
    TextOutA(other.Dc(), 0, 0, utf8.data(), static_cast<int>(utf8.size()));
    SelectObject(other.Dc(), old);
    ASSERT_GT(surface_.CountOther(white), 0);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 240; ++x) {
            ASSERT_EQ(surface_.At(x, y), other.At(x, y)) << x << "," << y;
        }
    }
}

TEST_F(GdiText, MetricsAgreeWithMeasurement) {
    TEXTMETRICA metrics{};
    ASSERT_TRUE(GetTextMetricsA(surface_.Dc(), &metrics));
    EXPECT_EQ(metrics.tmHeight, Extent("x").cy);
    EXPECT_EQ(metrics.tmHeight, 16);
    EXPECT_FALSE(GetTextMetricsA(surface_.Dc(), nullptr));
    EXPECT_FALSE(TextOutA(surface_.Dc(), 0, 0, nullptr, 3));
    EXPECT_TRUE(TextOutA(surface_.Dc(), 0, 0, nullptr, 0));
}

} // namespace
