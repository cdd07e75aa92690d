// GDI objects and regions through their handles: what GetObjectA reads back, a bitmap selected
// into one memory context at a time, and combining regions.

#include "tests/support/TestSession.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(GdiHandles, ABitmapDrawnOnIsNotDeletedAndServesOneContext) {
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(first);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(first, 16, 8);
    const HGDIOBJ original = SelectObject(first, bitmap);
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    // Undocumented: deleting a selected bitmap; ours refuses, Wine deletes it once deselected.
    const bool deletedWhileSelected = !testsession::RunningOnOwnLayer();
    EXPECT_EQ(DeleteObject(bitmap) != FALSE, deletedWhileSelected);
    BITMAP info{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 16);
    EXPECT_EQ(info.bmHeight, 8);
    // Windows documents a monochrome bitmap for a memory context that still holds its first
    // 1-by-1 bitmap; our layer's contexts draw on 32-bit surfaces only.
    EXPECT_EQ(info.bmBitsPixel, testsession::RunningOnOwnLayer() ? 32 : 1);
    EXPECT_EQ(SelectObject(first, original), bitmap);
    EXPECT_EQ(DeleteObject(bitmap) != FALSE, !deletedWhileSelected);
    EXPECT_TRUE(DeleteDC(first));
    EXPECT_TRUE(DeleteDC(second));
    EXPECT_FALSE(DeleteDC(first));
    EXPECT_EQ(CreateCompatibleDC(first), nullptr);
}

TEST(GdiHandles, GetObjectReadsBackTheDescriptions) {
    LOGFONTA font{};
    font.lfHeight = -13;
    font.lfWeight = FW_BOLD;
    font.lfCharSet = RUSSIAN_CHARSET;
    std::strcpy(font.lfFaceName, "MS Sans Serif");
    HFONT handle = CreateFontIndirectA(&font);
    LOGFONTA back{};
    EXPECT_EQ(GetObjectA(handle, 0, nullptr), static_cast<int>(sizeof(LOGFONTA)));
    ASSERT_EQ(GetObjectA(handle, sizeof back, &back), static_cast<int>(sizeof back));
    EXPECT_EQ(std::memcmp(&back, &font, sizeof font), 0);
    // A short buffer takes what fits.
    LONG height = 0;
    EXPECT_EQ(GetObjectA(handle, sizeof height, &height), static_cast<int>(sizeof height));
    EXPECT_EQ(height, -13);

    const LOGBRUSH hatch{BS_HATCHED, RGB(1, 2, 3), HS_CROSS};
    HBRUSH brush = CreateBrushIndirect(&hatch);
    LOGBRUSH brushBack{};
    ASSERT_EQ(GetObjectA(brush, sizeof brushBack, &brushBack), static_cast<int>(sizeof brushBack));
    EXPECT_EQ(brushBack.lbStyle, BS_HATCHED);
    EXPECT_EQ(brushBack.lbColor, RGB(1, 2, 3));
    EXPECT_EQ(brushBack.lbHatch, static_cast<ULONG_PTR>(HS_CROSS));
    EXPECT_TRUE(DeleteObject(handle));
    EXPECT_TRUE(DeleteObject(brush));
}

TEST(GdiHandles, HandlesCombineAndAnswerComplexity) {
    HRGN a = CreateRectRgn(10, 10, 0, 0); // corners in either order
    HRGN b = CreateRectRgn(5, 5, 15, 15);
    RECT box{};
    EXPECT_EQ(GetRgnBox(a, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.bottom, 10);
    // The destination may be one of the sources.
    EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(a, 14, 14));
    EXPECT_EQ(CombineRgn(a, b, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_FALSE(PtInRegion(a, 1, 1));
    EXPECT_EQ(OffsetRgn(a, -5, -5), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(a, 0, 0));
    EXPECT_TRUE(SetRectRgn(a, 0, 0, 0, 0));
    EXPECT_EQ(GetRgnBox(a, &box), NULLREGION);
    EXPECT_EQ(box.right, 0);
    EXPECT_EQ(CombineRgn(a, a, b, 99), ERROR);
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_TRUE(DeleteObject(b));
}

} // namespace
