// Control tools that need the test driver: a change of the system colours (undone by the
// driver's reset) and the pixels a paint event leaves (POSIX only).

#include "toolkit/ControlTools.h"

#include <gtest/gtest.h>

#include "platform/testing.h"
#include "tests/toolkit/ControlTestSupport.h"
#include "tests/toolkit/PaintProbe.h"
#include "toolkit/PaintHandler.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TGraphicTool.h"

namespace {

void SetSysColor(int index, COLORREF color) {
    ASSERT_TRUE(SetSysColors(1, &index, &color));
}

using ControlToolsDriverTest = ControlTest;

TEST_F(ControlToolsDriverTest, SystemColourChangeRenewsTheBackgroundBrush) {
    MakeAppAndForm();
    HBRUSH before = ControlBrush(form);
    EXPECT_EQ(ControlBrush(form), before);
    EXPECT_EQ(BrushColor(before), GetSysColor(COLOR_BTNFACE));

    SetSysColor(COLOR_BTNFACE, RGB(10, 20, 30));
    HBRUSH after = ControlBrush(form);
    EXPECT_NE(after, before);
    EXPECT_FALSE(Exists(before));
    EXPECT_EQ(BrushColor(after), RGB(10, 20, 30));
}

TEST_F(ControlToolsDriverTest, PaintRunsThePaintEventOnThePaintsDeviceContext) {
    MakeAppAndForm();
    PaintProbe probe;
    probe.FillGreen = true;
    form->SetColor(RGB(255, 0, 0));
    SetPaintEvent(form, probe.Event());
    form->Invalidate();
    testsession::PumpUntilIdle();

    EXPECT_GE(probe.Calls, 1);
    EXPECT_NE(probe.DC, nullptr);
    EXPECT_TRUE(probe.HadRegion);
    EXPECT_TRUE(probe.CanvasOnPaintDC);
    EXPECT_EQ(form->PaintDC, nullptr);
    EXPECT_EQ(form->UpdateRegion, nullptr);
    EXPECT_EQ(form->Canvas->DC, nullptr);
    EXPECT_EQ(testdriver::ClientPixel(form->Handle, 5, 5), RGB(0, 255, 0));
    EXPECT_EQ(testdriver::ClientPixel(form->Handle, 30, 30), RGB(255, 0, 0));
    EXPECT_FALSE(GetUpdateRect(form->Handle, nullptr, FALSE));
}

} // namespace
