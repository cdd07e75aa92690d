#include "tests/platform/gdi32/GdiTestSurface.h"

#include <gtest/gtest.h>

namespace {

TEST(GdiObjects, StockObjectsExistOnceAndAreNeverDeleted) {
    const int stock[] = {WHITE_BRUSH, LTGRAY_BRUSH,        GRAY_BRUSH,        DKGRAY_BRUSH,
                         BLACK_BRUSH, NULL_BRUSH,          WHITE_PEN,         BLACK_PEN,
                         NULL_PEN,    OEM_FIXED_FONT,      ANSI_FIXED_FONT,   ANSI_VAR_FONT,
                         SYSTEM_FONT, DEVICE_DEFAULT_FONT, SYSTEM_FIXED_FONT, DEFAULT_GUI_FONT};
    for (const int index : stock) {
        const HGDIOBJ object = GetStockObject(index);
        ASSERT_NE(object, nullptr) << index;
        EXPECT_EQ(GetStockObject(index), object) << index;
        EXPECT_FALSE(DeleteObject(object)) << index;
        EXPECT_GT(GetObjectA(object, 0, nullptr), 0) << index;
    }
    for (const int missing : {-1, 9, 15, 18, 1000}) {
        EXPECT_EQ(GetStockObject(missing), nullptr) << missing;
    }
}

// The system colour brushes: stock brushes whose colour the window system changes.
TEST(GdiObjects, StockBrushesOutliveDeletionAndTakeNewColours) {
    GdiTestSurface surface(8, 8);
    const HBRUSH brush = posix::gdi::CreateStockBrush(RGB(10, 20, 30));
    ASSERT_NE(brush, nullptr);
    EXPECT_FALSE(DeleteObject(brush));
    const RECT all{0, 0, 8, 8};
    ASSERT_NE(FillRect(surface.Dc(), &all, brush), 0);
    EXPECT_EQ(surface.CountOther(RGB(10, 20, 30)), 0);

    posix::gdi::SetBrushColor(brush, RGB(200, 100, 50));
    ASSERT_NE(FillRect(surface.Dc(), &all, brush), 0);
    EXPECT_EQ(surface.CountOther(RGB(200, 100, 50)), 0);

    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    posix::gdi::SetBrushColor(reinterpret_cast<HBRUSH>(pen), RGB(255, 0, 0));
    LOGPEN record{};
    ASSERT_EQ(GetObjectA(pen, sizeof record, &record), static_cast<int>(sizeof record));
    // Only brushes take a brush colour: the pen's record is as it was made.
    EXPECT_EQ(record.lopnStyle, static_cast<UINT>(PS_SOLID));
    EXPECT_EQ(record.lopnWidth.x, 1);
    EXPECT_EQ(record.lopnColor, RGB(1, 2, 3));
    EXPECT_TRUE(DeleteObject(pen));
}

TEST(GdiObjects, StaleHandlesAreHarmless) {
    GdiTestSurface surface(8, 8);
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    ASSERT_TRUE(DeleteObject(brush));
    // The slot is likely reused at once; the stale handle must still not reach the new brush.
    HBRUSH next = CreateSolidBrush(RGB(0, 255, 0));
    EXPECT_NE(next, brush);
    const RECT all{0, 0, 8, 8};
    EXPECT_EQ(FillRect(surface.Dc(), &all, brush), 0);
    EXPECT_EQ(surface.CountOther(RGB(255, 255, 255)), 0);
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_EQ(GetObjectA(brush, sizeof(LOGBRUSH), nullptr), 0);
    EXPECT_EQ(SelectObject(surface.Dc(), brush), nullptr);
    EXPECT_EQ(SelectObject(nullptr, next), nullptr);
    EXPECT_EQ(SetTextColor(reinterpret_cast<HDC>(brush), 0), CLR_INVALID);
    EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(next)));
    EXPECT_FALSE(DeleteObject(surface.Dc()));
    EXPECT_TRUE(DeleteObject(next));
}

TEST(GdiObjects, AnObjectDeletedWhileSelectedLivesUntilDeselected) {
    GdiTestSurface surface(10, 10);
    HPEN nullPen = static_cast<HPEN>(GetStockObject(NULL_PEN));
    const std::size_t before = posix::gdi::LiveObjectCount();
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const HGDIOBJ oldBrush = SelectObject(surface.Dc(), red);
    const HGDIOBJ oldPen = SelectObject(surface.Dc(), nullPen);
    EXPECT_EQ(oldBrush, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));

    EXPECT_TRUE(DeleteObject(red));
    EXPECT_FALSE(DeleteObject(red)); // already on its way out
    ASSERT_TRUE(Rectangle(surface.Dc(), 0, 0, 5, 5));
    EXPECT_EQ(surface.At(2, 2), RGB(255, 0, 0));
    {
        // It can no longer be selected anywhere else.
        GdiTestSurface other(4, 4);
        EXPECT_EQ(SelectObject(other.Dc(), red), nullptr);
    }

    EXPECT_EQ(SelectObject(surface.Dc(), oldBrush), red);
    EXPECT_EQ(GetObjectA(red, 0, nullptr), 0);
    EXPECT_EQ(posix::gdi::LiveObjectCount(), before);
}

TEST(GdiObjects, BrushesRefuseWhatTheyCannotDraw) {
    const LOGBRUSH badHatch{BS_HATCHED, 0, 6};
    const LOGBRUSH badStyle{7, 0, 0};
    const LOGBRUSH noBitmap{BS_PATTERN, 0, 12345};
    EXPECT_EQ(CreateBrushIndirect(&badHatch), nullptr);
    EXPECT_EQ(CreateBrushIndirect(&badStyle), nullptr);
    EXPECT_EQ(CreateBrushIndirect(&noBitmap), nullptr);
    EXPECT_EQ(CreateBrushIndirect(nullptr), nullptr);
    EXPECT_EQ(CreatePen(42, 1, 0), nullptr);
    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(4, 4, 1, 8, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(-1, 4, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(100000, 100000, 1, 32, nullptr), nullptr);
}

TEST(GdiObjects, MakingAndDeletingLeavesNothingBehind) {
    DeleteDC(CreateCompatibleDC(nullptr)); // makes the stock objects a context starts with
    const std::size_t before = posix::gdi::LiveObjectCount();
    for (int i = 0; i < 1000; ++i) {
        HDC dc = CreateCompatibleDC(nullptr);
        HBRUSH brush = CreateSolidBrush(RGB(i % 256, 0, 0));
        HRGN region = CreateRectRgn(0, 0, i, i);
        SelectObject(dc, brush);
        ASSERT_TRUE(DeleteObject(brush));
        ASSERT_TRUE(DeleteObject(region));
        ASSERT_TRUE(DeleteDC(dc)); // takes the brush with it
    }
    EXPECT_EQ(posix::gdi::LiveObjectCount(), before);
}

} // namespace
