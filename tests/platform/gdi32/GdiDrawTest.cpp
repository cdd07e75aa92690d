#include "tests/platform/gdi32/GdiTestSurface.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF red = RGB(255, 0, 0);
constexpr COLORREF blue = RGB(0, 0, 255);

struct FillCase {
    const char* Name;
    HBRUSH Brush;
    COLORREF Expected; // inside the rectangle; white means nothing drawn
};

TEST(GdiDraw, FillRectCoversExactlyTheRectangle) {
    HBRUSH solid = CreateSolidBrush(red);
    const FillCase cases[] = {
        {"solid brush", solid, red},
        {"stock brush", static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)), RGB(128, 128, 128)},
        {"system colour index plus one", reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
         GetSysColor(COLOR_BTNFACE)},
        {"null brush", static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), white},
    };
    for (const FillCase& c : cases) {
        GdiTestSurface surface(12, 12);
        const RECT rect{2, 3, 6, 8};
        ASSERT_NE(FillRect(surface.Dc(), &rect, c.Brush), 0) << c.Name;
        EXPECT_EQ(surface.At(2, 3), c.Expected) << c.Name;
        EXPECT_EQ(surface.At(5, 7), c.Expected) << c.Name;
        // Right and bottom edges are outside, as everywhere in Win32.
        EXPECT_EQ(surface.CountOther(rect, c.Expected), 0) << c.Name;
        EXPECT_EQ(surface.At(6, 3), white) << c.Name;
        EXPECT_EQ(surface.At(2, 8), white) << c.Name;
        EXPECT_EQ(surface.At(1, 3), white) << c.Name;
        EXPECT_EQ(surface.At(2, 2), white) << c.Name;
    }
    DeleteObject(solid);
}

TEST(GdiDraw, SurfaceContextsDrawAtTheirOriginWithinTheirVisibleRegion) {
    std::vector<std::uint32_t> pixels(20 * 20, posix::gdi::PixelFromColor(white));
    const posix::gdi::Surface surface{pixels.data(), 20, 20, 20};
    const std::vector<RECT> visible = {{5, 5, 15, 10}, {5, 12, 15, 15}};
    HDC dc =
        posix::gdi::CreateSurfaceDC(surface, POINT{5, 5}, posix::gdi::Region::FromRects(visible));
    const RECT everything{-100, -100, 100, 100};
    FillRect(dc, &everything, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(pixels[5 * 20 + 5], 0u);
    EXPECT_EQ(pixels[14 * 20 + 14], 0u);
    EXPECT_NE(pixels[10 * 20 + 7], 0u); // the gap between the two visible parts
    EXPECT_NE(pixels[4 * 20 + 5], 0u);
    EXPECT_NE(pixels[5 * 20 + 15], 0u);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0)); // the context's (0, 0) is surface (5, 5)
    EXPECT_EQ(GetPixel(dc, 2, 5), CLR_INVALID);
    RECT box{};
    EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.bottom, 10);
    DeleteDC(dc);
}

TEST(GdiDraw, FrameRectDrawsOnlyTheBorder) {
    GdiTestSurface surface(10, 10);
    HBRUSH brush = CreateSolidBrush(blue);
    const RECT rect{1, 1, 7, 6};
    FrameRect(surface.Dc(), &rect, brush);
    EXPECT_EQ(surface.CountOther(rect, white), 2 * 6 + 2 * 3);
    EXPECT_EQ(surface.At(1, 1), blue);
    EXPECT_EQ(surface.At(6, 5), blue);
    EXPECT_EQ(surface.At(3, 3), white);
    EXPECT_EQ(surface.CountOther(white), 2 * 6 + 2 * 3);
    DeleteObject(brush);
}

TEST(GdiDraw, FocusRectangleIsADottedInversion) {
    GdiTestSurface surface(12, 12);
    const RECT rect{2, 2, 10, 8};
    ASSERT_TRUE(DrawFocusRect(surface.Dc(), &rect));
    // Pixels alternate along the border, starting inverted at the top-left corner.
    for (int x = 2; x < 10; ++x) {
        EXPECT_EQ(surface.At(x, 2), (x % 2 == 0) ? RGB(0, 0, 0) : white) << x;
    }
    for (int y = 2; y < 8; ++y) {
        EXPECT_EQ(surface.At(2, y), (y % 2 == 0) ? RGB(0, 0, 0) : white) << y;
    }
    EXPECT_EQ(surface.CountOther(RECT{3, 3, 9, 7}, white), 0);
    // Drawing it again restores every pixel.
    DrawFocusRect(surface.Dc(), &rect);
    EXPECT_EQ(surface.CountOther(white), 0);
    // A one-pixel-high rectangle inverts each of its pixels once.
    const RECT line{0, 10, 12, 11};
    DrawFocusRect(surface.Dc(), &line);
    EXPECT_EQ(surface.CountOther(white), 6);
}

struct EdgeCase {
    const char* Name;
    UINT Edge;
    int OuterTopLeft; // system colours of each line; -1 for none
    int OuterBottomRight;
    int InnerTopLeft;
    int InnerBottomRight;
};

TEST(GdiDraw, DrawEdgeUsesTheClassic3DColours) {
    const EdgeCase cases[] = {
        {"raised", EDGE_RAISED, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT,
         COLOR_BTNSHADOW},
        {"sunken", EDGE_SUNKEN, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW,
         COLOR_3DLIGHT},
        {"etched", EDGE_ETCHED, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT,
         COLOR_BTNSHADOW},
        {"raised outer", BDR_RAISEDOUTER, COLOR_3DLIGHT, COLOR_3DDKSHADOW, -1, -1},
        {"sunken outer", BDR_SUNKENOUTER, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, -1, -1},
    };
    const COLORREF marker = RGB(1, 2, 3);
    for (const EdgeCase& c : cases) {
        GdiTestSurface surface(20, 20, marker);
        RECT rect{2, 2, 18, 14};
        ASSERT_TRUE(DrawEdge(surface.Dc(), &rect, c.Edge, BF_RECT | BF_ADJUST)) << c.Name;
        const auto expect = [&](int x, int y, int color) {
            EXPECT_EQ(surface.At(x, y), color < 0 ? marker : GetSysColor(color))
                << c.Name << " at " << x << "," << y;
        };
        expect(8, 2, c.OuterTopLeft);
        expect(2, 8, c.OuterTopLeft);
        expect(8, 13, c.OuterBottomRight);
        expect(17, 8, c.OuterBottomRight);
        // The bottom and right lines own the top-right and bottom-left corners.
        expect(17, 2, c.OuterBottomRight);
        expect(2, 13, c.OuterBottomRight);
        expect(8, 3, c.InnerTopLeft);
        expect(8, 12, c.InnerBottomRight);
        expect(8, 8, -1);
        const int width = c.InnerTopLeft < 0 ? 1 : 2;
        EXPECT_EQ(rect.left, 2 + width) << c.Name;
        EXPECT_EQ(rect.bottom, 14 - width) << c.Name;
    }
}

TEST(GdiDraw, DrawEdgeSidesMiddleAndRefusals) {
    GdiTestSurface surface(10, 10, RGB(1, 2, 3));
    RECT rect{0, 0, 10, 10};
    ASSERT_TRUE(DrawEdge(surface.Dc(), &rect, BDR_SUNKENOUTER, BF_TOP | BF_MIDDLE));
    EXPECT_EQ(surface.At(5, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(surface.At(0, 5), GetSysColor(COLOR_BTNFACE)); // no left line: middle instead
    EXPECT_EQ(surface.At(9, 9), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(rect.top, 0); // without BF_ADJUST the rectangle stays
    EXPECT_FALSE(DrawEdge(surface.Dc(), &rect, EDGE_RAISED, BF_DIAGONAL | BF_RECT));
    EXPECT_FALSE(DrawEdge(surface.Dc(), nullptr, EDGE_RAISED, BF_RECT));
}

TEST(GdiDraw, ClipRegionsLimitDrawing) {
    GdiTestSurface surface(20, 20);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT all{0, 0, 20, 20};
    EXPECT_EQ(IntersectClipRect(surface.Dc(), 2, 2, 8, 8), SIMPLEREGION);
    EXPECT_EQ(IntersectClipRect(surface.Dc(), 5, 5, 30, 30), SIMPLEREGION);
    FillRect(surface.Dc(), &all, black);
    EXPECT_EQ(surface.CountOther(white), 9);
    EXPECT_EQ(surface.At(5, 5), RGB(0, 0, 0));

    surface.Clear(white);
    HRGN two = CreateRectRgn(0, 0, 3, 3);
    HRGN second = CreateRectRgn(10, 10, 12, 12);
    CombineRgn(two, two, second, RGN_OR);
    EXPECT_EQ(SelectClipRgn(surface.Dc(), two), COMPLEXREGION);
    DeleteObject(two); // the context keeps its own copy
    FillRect(surface.Dc(), &all, black);
    EXPECT_EQ(surface.CountOther(white), 9 + 4);

    surface.Clear(white);
    EXPECT_EQ(SelectClipRgn(surface.Dc(), nullptr), SIMPLEREGION);
    FillRect(surface.Dc(), &all, black);
    EXPECT_EQ(surface.CountOther(white), 400);
    DeleteObject(second);
}

TEST(GdiDraw, HatchedBrushesFollowTheBackgroundModeAndBrushOrigin) {
    const LOGBRUSH description{BS_HATCHED, red, HS_HORIZONTAL};
    HBRUSH hatch = CreateBrushIndirect(&description);
    GdiTestSurface surface(16, 16);
    const RECT all{0, 0, 16, 16};
    SetBkColor(surface.Dc(), blue);
    SetBkMode(surface.Dc(), TRANSPARENT);
    FillRect(surface.Dc(), &all, hatch);
    EXPECT_EQ(surface.CountOther(white), 2 * 16); // one line every 8 rows
    EXPECT_EQ(surface.At(3, 7), red);
    EXPECT_EQ(surface.At(3, 6), white);

    SetBkMode(surface.Dc(), OPAQUE);
    POINT previous{};
    SetBrushOrgEx(surface.Dc(), 0, 3, &previous);
    EXPECT_EQ(previous.y, 0);
    FillRect(surface.Dc(), &all, hatch);
    EXPECT_EQ(surface.At(3, 10), red); // the pattern moved down by three rows
    EXPECT_EQ(surface.At(3, 7), blue);
    EXPECT_EQ(surface.CountOther(RECT{0, 0, 16, 16}, white), 256);
    DeleteObject(hatch);
}

TEST(GdiDraw, MonochromePatternBrushesTakeTheContextColours) {
    // An 8 by 8 checkerboard of 1-bit pixels, rows padded to 16 bits; set bits are white.
    const unsigned char bits[16] = {0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0,
                                    0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0};
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, bits);
    const LOGBRUSH description{BS_PATTERN, 0, reinterpret_cast<ULONG_PTR>(pattern)};
    HBRUSH brush = CreateBrushIndirect(&description);
    DeleteObject(pattern); // the brush has its own copy
    GdiTestSurface surface(8, 8);
    SetTextColor(surface.Dc(), red);
    SetBkColor(surface.Dc(), blue);
    const RECT all{0, 0, 8, 8};
    ASSERT_NE(FillRect(surface.Dc(), &all, brush), 0);
    EXPECT_EQ(surface.At(0, 0), blue); // a set bit
    EXPECT_EQ(surface.At(1, 0), red);
    EXPECT_EQ(surface.At(0, 1), red);
    DeleteObject(brush);
}

TEST(GdiDraw, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
    GdiTestSurface surface(12, 12);
    HPEN pen = CreatePen(PS_SOLID, 1, red);
    HBRUSH brush = CreateSolidBrush(blue);
    HGDIOBJ oldPen = SelectObject(surface.Dc(), pen);
    HGDIOBJ oldBrush = SelectObject(surface.Dc(), brush);
    Rectangle(surface.Dc(), 1, 1, 8, 6);
    EXPECT_EQ(surface.At(1, 1), red);
    EXPECT_EQ(surface.At(7, 5), red);
    EXPECT_EQ(surface.At(4, 3), blue);
    EXPECT_EQ(surface.At(8, 3), white);
    // Without a pen the filled area is one pixel smaller to the right and bottom.
    surface.Clear(white);
    SelectObject(surface.Dc(), GetStockObject(NULL_PEN));
    Rectangle(surface.Dc(), 1, 1, 8, 6);
    EXPECT_EQ(surface.At(1, 1), blue);
    EXPECT_EQ(surface.At(6, 4), blue);
    EXPECT_EQ(surface.At(7, 5), white);
    SelectObject(surface.Dc(), oldPen);
    SelectObject(surface.Dc(), oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST(GdiDraw, LinesLeaveOutTheirLastPixel) {
    GdiTestSurface surface(12, 12);
    POINT previous{};
    MoveToEx(surface.Dc(), 1, 2, &previous);
    LineTo(surface.Dc(), 6, 2);
    EXPECT_EQ(surface.CountOther(white), 5);
    EXPECT_EQ(surface.At(5, 2), RGB(0, 0, 0));
    EXPECT_EQ(surface.At(6, 2), white);
    LineTo(surface.Dc(), 6, 7); // continues from the current position
    EXPECT_EQ(surface.At(6, 2), RGB(0, 0, 0));
    EXPECT_EQ(surface.At(6, 7), white);
    surface.Clear(white);
    MoveToEx(surface.Dc(), 0, 0, nullptr);
    LineTo(surface.Dc(), 4, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(surface.At(i, i), RGB(0, 0, 0)) << i;
    }
    EXPECT_EQ(surface.CountOther(white), 4);
}

TEST(GdiDraw, AnEnormousLineCostsOnlyItsVisiblePart) {
    GdiTestSurface surface(10, 10);
    MoveToEx(surface.Dc(), INT_MIN, 5, nullptr);
    LineTo(surface.Dc(), INT_MAX, 5);
    EXPECT_EQ(surface.CountOther(white), 10);
    surface.Clear(white);
    MoveToEx(surface.Dc(), -2000000000, -2000000000, nullptr);
    LineTo(surface.Dc(), 2000000000, 2000000000);
    EXPECT_EQ(surface.At(7, 7), RGB(0, 0, 0));
    EXPECT_EQ(surface.CountOther(white), 10);
}

TEST(GdiDraw, BitBltCopiesFromAMemoryContext) {
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(memory, 4, 4);
    HGDIOBJ original = SelectObject(memory, bitmap);
    const RECT all{0, 0, 4, 4};
    HBRUSH brush = CreateSolidBrush(red);
    FillRect(memory, &all, brush);
    SetPixel(memory, 3, 3, blue);
    GdiTestSurface surface(10, 10);
    ASSERT_TRUE(BitBlt(surface.Dc(), 5, 5, 4, 4, memory, 0, 0, SRCCOPY));
    EXPECT_EQ(surface.At(5, 5), red);
    EXPECT_EQ(surface.At(8, 8), blue);
    EXPECT_EQ(surface.CountOther(white), 16);
    // Within one surface the copy may overlap itself.
    ASSERT_TRUE(BitBlt(surface.Dc(), 4, 4, 5, 5, surface.Dc(), 5, 5, SRCCOPY));
    EXPECT_EQ(surface.At(7, 7), blue);
    EXPECT_FALSE(BitBlt(surface.Dc(), 0, 0, 4, 4, memory, 0, 0, 0x00EE0086));
    SelectObject(memory, original);
    DeleteObject(bitmap);
    DeleteObject(brush);
    DeleteDC(memory);
}

} // namespace
