// Surfaces that keep a finer picture for a scaled display: drawing keeps it in step with the
// surface's own pixels, and only text brings finer pixels of its own.

#include "platform/posix/gdi32/GlyphRun.h"
#include "platform/posix/gdi32/gdi.h"
#include "tests/platform/gdi32/GdiTestSurface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF black = RGB(0, 0, 0);

void Out(HDC dc, int x, int y, const std::string& text) {
    TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
}

class GdiDetail : public testing::TestWithParam<int> {};

TEST_P(GdiDetail, DrawingOtherThanTextKeepsTheDetailInBlocks) {
    GdiTestSurface surface(40, 30, white, GetParam());
    const HDC dc = surface.Dc();
    const HBRUSH solid = CreateSolidBrush(RGB(200, 30, 40));
    const LOGBRUSH hatched{BS_HATCHED, RGB(0, 90, 0), HS_DIAGCROSS};
    const HBRUSH hatch = CreateBrushIndirect(&hatched);
    RECT area{2, 3, 30, 20};
    FillRect(dc, &area, solid);
    SetBkMode(dc, TRANSPARENT);
    FillRect(dc, &area, hatch);
    DrawFocusRect(dc, &area);
    RECT edge{5, 5, 25, 25};
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    const HPEN pen = CreatePen(PS_SOLID, 3, RGB(10, 20, 200));
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, 0, 29, nullptr);
    LineTo(dc, 39, 1);
    SetPixel(dc, 38, 28, RGB(1, 2, 3));
    // A copy of the surface onto itself, overlapping, and one from a memory bitmap.
    BitBlt(dc, 6, 4, 20, 15, dc, 2, 3, SRCCOPY);
    const HDC memory = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateCompatibleBitmap(dc, 8, 8);
    const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    RECT all{0, 0, 8, 8};
    FillRect(memory, &all, hatch);
    BitBlt(dc, 30, 20, 8, 8, memory, 0, 0, SRCCOPY);

    EXPECT_EQ(surface.FinerPixels(), 0);
    EXPECT_EQ(GetPixel(dc, 38, 28), RGB(1, 2, 3));
    SelectObject(memory, oldBitmap);
    SelectObject(dc, oldPen);
    DeleteObject(bitmap);
    DeleteDC(memory);
    DeleteObject(pen);
    DeleteObject(hatch);
    DeleteObject(solid);
}

TEST_P(GdiDetail, TextIsFinerWhileTheProgramSeesTheSamePixelsAndSizes) {
    GdiTestSurface plain(120, 30);
    GdiTestSurface detailed(120, 30, white, GetParam());
    GdiTestFont font("MS Sans Serif", -11);
    SelectObject(plain.Dc(), font.Handle());
    SelectObject(detailed.Dc(), font.Handle());
    const std::string text = "Clear list 0:59";
    SIZE plainSize{};
    SIZE detailedSize{};
    GetTextExtentPoint32A(plain.Dc(), text.data(), static_cast<int>(text.size()), &plainSize);
    GetTextExtentPoint32A(detailed.Dc(), text.data(), static_cast<int>(text.size()), &detailedSize);
    EXPECT_EQ(detailedSize.cx, plainSize.cx);
    EXPECT_EQ(detailedSize.cy, plainSize.cy);

    Out(plain.Dc(), 4, 6, text);
    Out(detailed.Dc(), 4, 6, text);
    EXPECT_EQ(detailed.Pixels(), plain.Pixels()) << "the surface's own pixels are those of 96 DPI";
    const RECT cell{4, 6, 4 + plainSize.cx, 6 + plainSize.cy};
    EXPECT_GT(detailed.FinerPixels(&cell), 0) << "no finer letters";
    EXPECT_EQ(detailed.FinerPixels(), detailed.FinerPixels(&cell))
        << "finer pixels outside the text's cell";
    EXPECT_GT(detailed.CountDetail(black), 0) << "the finer letters are not fully inked";
}

TEST_P(GdiDetail, TextDrawnAgainOrCoveredLeavesNoTrace) {
    GdiTestSurface surface(80, 20, white, GetParam());
    GdiTestFont font("MS Sans Serif", -11);
    SelectObject(surface.Dc(), font.Handle());
    Out(surface.Dc(), 2, 2, "0:07");
    const std::vector<std::uint32_t> once = surface.DetailPixels();
    Out(surface.Dc(), 2, 2, "0:07");
    EXPECT_EQ(surface.DetailPixels(), once) << "opaque text drawn again over itself";

    SetBkMode(surface.Dc(), TRANSPARENT);
    Out(surface.Dc(), 40, 2, "list");
    RECT cover{0, 0, 80, 20};
    FillRect(surface.Dc(), &cover, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(surface.FinerPixels(), 0) << "text painted over";
}

TEST_P(GdiDetail, ClippedTextStaysInsideItsClipAtTheFinerResolution) {
    GdiTestSurface surface(80, 20, white, GetParam());
    GdiTestFont font("MS Sans Serif", -11);
    SelectObject(surface.Dc(), font.Handle());
    const RECT clip{10, 4, 22, 12};
    const std::string text = "WWWWWWWW";
    ExtTextOutA(surface.Dc(), 2, 2, ETO_CLIPPED, &clip, text.data(), static_cast<UINT>(text.size()),
                nullptr);
    EXPECT_GT(surface.FinerPixels(&clip), 0);
    EXPECT_EQ(surface.FinerPixels(), surface.FinerPixels(&clip));
}

INSTANTIATE_TEST_SUITE_P(Details, GdiDetail, testing::Values(2, 3));

TEST(GdiDetailCopy, TheDetailTravelsBetweenSurfacesOfTheSameDetailOnly) {
    GdiTestSurface from(60, 20, white, 2);
    GdiTestSurface same(60, 20, white, 2);
    GdiTestSurface finer(60, 20, white, 3);
    GdiTestFont font("MS Sans Serif", -11);
    SelectObject(from.Dc(), font.Handle());
    Out(from.Dc(), 1, 1, "Open list");
    ASSERT_GT(from.FinerPixels(), 0);

    BitBlt(same.Dc(), 0, 0, 60, 20, from.Dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(same.DetailPixels(), from.DetailPixels());
    BitBlt(finer.Dc(), 0, 0, 60, 20, from.Dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(finer.Pixels(), from.Pixels());
    EXPECT_EQ(finer.FinerPixels(), 0) << "a different detail arrives as blocks";
}

TEST(GdiDetailLimit, FontsTooLargeForTheDetailAreEnlargedInBlocks) {
    GdiTestSurface surface(700, 700, white, 4);
    GdiTestFont font("MS Sans Serif", -600);
    SelectObject(surface.Dc(), font.Handle());
    Out(surface.Dc(), 0, 0, "W");
    EXPECT_EQ(surface.FinerPixels(), 0);
    EXPECT_GT(surface.CountDetail(black), 0) << "the letter itself is missing";
}

posix::gdi::RealizedFont SansFont(LONG height) {
    LOGFONTA description{};
    description.lfHeight = height;
    std::strncpy(description.lfFaceName, "MS Sans Serif", LF_FACESIZE - 1);
    return posix::gdi::RealizedFont(description);
}

TEST(GdiDetailPens, LettersKeepTheFinerSpacingAcrossTheSpanOfTheirStretch) {
    posix::gdi::RealizedFont font = SansFont(-11);
    const std::u32string text = U"[platform] Clear\tlist";
    const std::size_t tab = text.find(U'\t');
    const posix::gdi::RunLayout layout = posix::gdi::LayOutRun(font, text, 40);
    for (const int detail : {2, 3}) {
        const std::vector<std::int64_t> pens = posix::gdi::DetailPens(font, text, layout, detail);
        ASSERT_EQ(pens.size(), text.size());
        EXPECT_EQ(pens[0], 0);
        EXPECT_EQ(pens[tab], std::int64_t{detail} * layout.Offsets[tab]);
        EXPECT_EQ(pens[tab + 1], std::int64_t{detail} * layout.Offsets[tab + 1]) << "after a tab";
        // Before the tab: each step is the finer glyph's advance (and pair spacing) scaled by
        // one ratio, whatever the rounding of the 96-DPI cells was.
        std::vector<std::int64_t> natural{0};
        const posix::gdi::Glyph* previous = nullptr;
        for (std::size_t i = 0; i < tab; ++i) {
            const posix::gdi::Glyph* fine = font.DetailGlyphFor(text[i], detail);
            ASSERT_NE(fine, nullptr);
            natural.back() += previous != nullptr ? posix::gdi::PairSpacing(*previous, *fine) : 0;
            natural.push_back(natural.back() + fine->Advance);
            previous = fine;
        }
        const double ratio =
            static_cast<double>(detail * layout.Offsets[tab]) / static_cast<double>(natural.back());
        for (std::size_t i = 0; i < tab; ++i) {
            EXPECT_EQ(pens[i], std::llround(static_cast<double>(natural[i]) * ratio))
                << "letter " << i << " at detail " << detail;
        }
    }
}

TEST(GdiDetailPens, GivenAdvancesCentreEachLetterInItsCell) {
    posix::gdi::RealizedFont font = SansFont(-11);
    const std::u32string text = U"0:07";
    const std::vector<int> advances{9, 4, 9, 9};
    const posix::gdi::RunLayout layout = posix::gdi::LayOutRun(font, text, 0, &advances);
    const std::vector<std::int64_t> pens = posix::gdi::DetailPens(font, text, layout, 2);
    ASSERT_EQ(pens.size(), text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int advance = font.Advance(text[i]);
        const int fineAdvance = font.DetailGlyphFor(text[i], 2)->Advance;
        EXPECT_EQ(pens[i], 2 * layout.Offsets[i] + (2 * advance - fineAdvance) / 2) << i;
    }
}

} // namespace
