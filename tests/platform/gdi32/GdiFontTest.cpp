#include "tests/platform/gdi32/GdiTestSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr COLORREF white = RGB(255, 255, 255);

TEXTMETRICA MetricsOf(HFONT font) {
    GdiTestSurface surface(1, 1);
    const HGDIOBJ old = SelectObject(surface.Dc(), font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(surface.Dc(), &metrics);
    SelectObject(surface.Dc(), old);
    return metrics;
}

SIZE ExtentOf(HFONT font, const char* text) {
    GdiTestSurface surface(1, 1);
    const HGDIOBJ old = SelectObject(surface.Dc(), font);
    SIZE size{};
    GetTextExtentPoint32A(surface.Dc(), text, static_cast<int>(std::strlen(text)), &size);
    SelectObject(surface.Dc(), old);
    return size;
}

// Draws black text at (2, 2) on a white surface.
void Draw(GdiTestSurface& surface, HFONT font, const char* text) {
    const HGDIOBJ old = SelectObject(surface.Dc(), font);
    SetBkMode(surface.Dc(), TRANSPARENT);
    TextOutA(surface.Dc(), 2, 2, text, static_cast<int>(std::strlen(text)));
    SelectObject(surface.Dc(), old);
}

TEST(GdiFont, UnknownFacesFallBackToTheInstalledSansFace) {
    GdiTestFont missing("Kestrin No Such Face", 14);
    GdiTestFont sans("sans-serif", 14);
    GdiTestFont mono("monospace", 14);
    const std::string family = posix::gdi::FontFamilyOf(missing.Handle());
    ASSERT_FALSE(family.empty()) << "no scalable font installed";
    EXPECT_EQ(family, posix::gdi::FontFamilyOf(sans.Handle()));
    EXPECT_NE(family, posix::gdi::FontFamilyOf(mono.Handle()));
}

// The classic dialog faces are not installed on Linux; they draw with one narrow stand-in
// family when it is installed, and with the default sans face otherwise. Their names match
// whatever their case.
TEST(GdiFont, ClassicDialogFacesShareOneStandInFamily) {
    GdiTestFont standIn("Nimbus Sans Narrow", 14);
    GdiTestFont sans("sans-serif", 14);
    const std::string standInFamily = posix::gdi::FontFamilyOf(standIn.Handle());
    const std::string expected = standInFamily == "Nimbus Sans Narrow"
                                     ? standInFamily
                                     : posix::gdi::FontFamilyOf(sans.Handle());
    ASSERT_FALSE(expected.empty()) << "no scalable font installed";
    for (const char* face : {"MS Sans Serif", "ms sans serif", "Microsoft Sans Serif",
                             "MS Shell Dlg", "MS Shell Dlg 2", "Tahoma"}) {
        GdiTestFont classic(face, 14);
        EXPECT_EQ(posix::gdi::FontFamilyOf(classic.Handle()), expected) << face;
    }
}

// The player lays its controls out at fixed sizes for an 8-point "MS Sans Serif", which it
// asks for with a cell height of 14 pixels. Each row: a caption or the widest value a control
// shows, and the width it has. A label draws from its left edge; a push button draws its
// caption inside a 2-pixel raised edge and a pixel of margin on each side.
TEST(GdiFont, ThePlayersCaptionsFitTheirControlsInTheStandInFace) {
    constexpr int buttonMargin = 6;
    const struct {
        const char* Text;
        int Width;
    } captions[] = {
        {"\xF2\xF0\xE0\xE5\xED\xE5:", 40},     // the duration caption, Windows-1251
        {"\xEF\xEE\xE7\xE8\xF6\xE8\xFF:", 40}, // the position caption, Windows-1251
        {"59", 15},
        {":", 5},
        {"Clear list", 50 - buttonMargin},
        {"Open list", 50 - buttonMargin},
        {"Save list", 50 - buttonMargin},
        {"[]", 20 - buttonMargin},
        {"||", 20 - buttonMargin},
        {"^", 20 - buttonMargin},
    };
    GdiTestFont font("MS Sans Serif", 14);
    for (const auto& caption : captions) {
        const SIZE size = ExtentOf(font.Handle(), caption.Text);
        EXPECT_GT(size.cx, 0) << caption.Text;
        EXPECT_LE(size.cx, caption.Width) << caption.Text;
    }
}

// Hinting widens and narrows glyphs at small sizes; neighbours keep clear of each other. The
// colon after the last letter of the position caption used to touch it.
TEST(GdiFont, HintedNeighboursKeepAClearColumnBetweenThem) {
    GdiTestFont font("MS Sans Serif", 14);
    for (const char* pair : {"\xFF:", "m.", "l|", "ll"}) { // "я:" in Windows-1251
        GdiTestSurface surface(40, 20);
        Draw(surface, font.Handle(), pair);
        const RECT ink = surface.InkBounds(white);
        bool clearColumn = false;
        for (int x = ink.left; x < ink.right && !clearColumn; ++x) {
            clearColumn = surface.CountOther(RECT{x, 0, x + 1, 20}, white) == 0;
        }
        EXPECT_TRUE(clearColumn) << pair;
    }
}

TEST(GdiFont, PositiveHeightsAreCellHeights) {
    for (const LONG height : {6, 8, 13, 14, 16, 20, 32, 64}) {
        GdiTestFont font("MS Sans Serif", height);
        const TEXTMETRICA metrics = MetricsOf(font.Handle());
        EXPECT_EQ(metrics.tmHeight, height);
        EXPECT_EQ(metrics.tmAscent + metrics.tmDescent, height);
        EXPECT_EQ(ExtentOf(font.Handle(), "Play").cy, height);
    }
}

TEST(GdiFont, NegativeHeightsAreCharacterHeights) {
    for (const LONG height : {-8, -11, -13, -16, -24}) {
        GdiTestFont font("MS Sans Serif", height);
        const TEXTMETRICA metrics = MetricsOf(font.Handle());
        EXPECT_NEAR(metrics.tmHeight - metrics.tmInternalLeading, -height, 1) << height;
        EXPECT_GT(metrics.tmHeight, -height) << height;
    }
}

TEST(GdiFont, ZeroAndWildHeightsGiveUsableFonts) {
    GdiTestFont standard("MS Sans Serif", 0);
    EXPECT_EQ(MetricsOf(standard.Handle()).tmHeight, 16);
    GdiTestFont huge("MS Sans Serif", INT_MAX);
    EXPECT_EQ(MetricsOf(huge.Handle()).tmHeight, 1024);
    GdiTestFont hugeNegative("MS Sans Serif", INT_MIN);
    EXPECT_GT(MetricsOf(hugeNegative.Handle()).tmHeight, 1024);
    EXPECT_GT(ExtentOf(hugeNegative.Handle(), "W").cx, 0);
}

TEST(GdiFont, MetricsReportTheDescription) {
    GdiTestFont font("MS Sans Serif", 14, FW_BOLD, 1, 1, 0);
    const TEXTMETRICA metrics = MetricsOf(font.Handle());
    EXPECT_EQ(metrics.tmWeight, FW_BOLD);
    EXPECT_EQ(metrics.tmItalic, 1);
    EXPECT_EQ(metrics.tmUnderlined, 1);
    EXPECT_EQ(metrics.tmStruckOut, 0);
    EXPECT_GT(metrics.tmAveCharWidth, 0);
    EXPECT_GE(metrics.tmMaxCharWidth, metrics.tmAveCharWidth);
    EXPECT_EQ(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, TMPF_FIXED_PITCH); // variable pitch
    GdiTestFont mono("DejaVu Sans Mono", 14);
    EXPECT_EQ(MetricsOf(mono.Handle()).tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
    EXPECT_EQ(ExtentOf(mono.Handle(), "iii").cx, ExtentOf(mono.Handle(), "WWW").cx);
}

TEST(GdiFont, BoldDrawsMoreInkThanRegular) {
    GdiTestFont regular("MS Sans Serif", 20);
    GdiTestFont bold("MS Sans Serif", 20, FW_BOLD);
    GdiTestSurface thin(200, 30);
    GdiTestSurface thick(200, 30);
    Draw(thin, regular.Handle(), "Playlist");
    Draw(thick, bold.Handle(), "Playlist");
    EXPECT_GT(thick.CountOther(white), thin.CountOther(white));
    EXPECT_GE(ExtentOf(bold.Handle(), "Playlist").cx, ExtentOf(regular.Handle(), "Playlist").cx);
}

// Interface text stays crisp: at the sizes the dialogs, the system font and the player draw
// with, the vertical stem of an "l" is snapped to whole pixels, so it fills a column of
// pixels with the full text colour.
TEST(GdiFont, StemsAreSnappedToWholePixels) {
    for (const LONG height : {-11, 13, 14, 16, 20}) {
        GdiTestFont font("MS Sans Serif", height);
        GdiTestSurface surface(20, 30);
        Draw(surface, font.Handle(), "l");
        const RECT ink = surface.InkBounds(white);
        int fullColumn = 0;
        for (int x = ink.left; x < ink.right; ++x) {
            int black = 0;
            for (int y = ink.top; y < ink.bottom; ++y) {
                black += surface.At(x, y) == RGB(0, 0, 0) ? 1 : 0;
            }
            fullColumn = std::max(fullColumn, black);
        }
        EXPECT_GE(fullColumn, std::abs(height) / 2) << height;
    }
}

TEST(GdiFont, ItalicLeansToTheRight) {
    GdiTestFont italic("MS Sans Serif", 40, FW_NORMAL, 1);
    GdiTestSurface surface(60, 50);
    Draw(surface, italic.Handle(), "l");
    const RECT ink = surface.InkBounds(white);
    ASSERT_LT(ink.left, ink.right);
    const auto firstInk = [&](int y) {
        for (int x = 0; x < 60; ++x) {
            if (surface.At(x, y) != white) {
                return x;
            }
        }
        return -1;
    };
    EXPECT_GT(firstInk(ink.top + 1), firstInk(ink.bottom - 2));
}

TEST(GdiFont, UnderlineAndStrikeOutSpanTheText) {
    GdiTestFont underlined("MS Sans Serif", 20, FW_NORMAL, 0, 1, 0);
    GdiTestFont struck("MS Sans Serif", 20, FW_NORMAL, 0, 0, 1);
    const TEXTMETRICA metrics = MetricsOf(underlined.Handle());
    const LONG width = ExtentOf(underlined.Handle(), "i i").cx;
    const auto fullRow = [&](const GdiTestSurface& surface, int top, int bottom) {
        for (int y = top; y < bottom; ++y) {
            if (surface.CountOther(RECT{2, y, 2 + width, y + 1}, RGB(0, 0, 0)) == 0) {
                return true;
            }
        }
        return false;
    };
    GdiTestSurface below(100, 30);
    Draw(below, underlined.Handle(), "i i");
    EXPECT_TRUE(fullRow(below, 2 + metrics.tmAscent, 2 + metrics.tmHeight));
    EXPECT_FALSE(fullRow(below, 2, 2 + metrics.tmAscent));
    GdiTestSurface through(100, 30);
    Draw(through, struck.Handle(), "i i");
    EXPECT_TRUE(fullRow(through, 2, 2 + metrics.tmAscent));
}

TEST(GdiFont, GlyphsAreRenderedOncePerFaceAndSize) {
    GdiTestFont font("MS Sans Serif", 17);
    GdiTestFont same("MS Sans Serif", 17);
    GdiTestSurface surface(200, 30);
    const char* text = "Glyph cache: qwerty"; // 14 distinct characters
    const std::uint64_t start = posix::gdi::GlyphRenderCount();
    ExtentOf(font.Handle(), text);
    EXPECT_EQ(posix::gdi::GlyphRenderCount() - start, 14u);
    ExtentOf(font.Handle(), text);
    Draw(surface, font.Handle(), text);
    // Another font of the same face and size shares the rendered glyphs.
    Draw(surface, same.Handle(), text);
    EXPECT_EQ(posix::gdi::GlyphRenderCount() - start, 14u);
    GdiTestFont bigger("MS Sans Serif", 18);
    ExtentOf(bigger.Handle(), text);
    EXPECT_EQ(posix::gdi::GlyphRenderCount() - start, 28u);
}

} // namespace
