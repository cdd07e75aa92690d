#include "toolkit/ControlTools.h"

#include <gtest/gtest.h>

#include "tests/toolkit/ControlTestSupport.h"
#include "tests/toolkit/PaintProbe.h"
#include "toolkit/PaintHandler.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TGraphicTool.h"

namespace {

using ControlToolsTest = ControlTest;

TEST_F(ControlToolsTest, ChildWithTheParentsColourAnswersTheParentsBrush) {
    MakeAppAndForm();
    TControl* button = MakeButtonControl(form, "Button");
    TControl* list = MakeListBoxControl(form, 0x12);
    EXPECT_EQ(ControlBrush(button), ControlBrush(form));
    EXPECT_EQ(button->BrushHandle, nullptr);

    HBRUSH own = ControlBrush(list);
    EXPECT_NE(own, ControlBrush(form));
    EXPECT_EQ(BrushColor(own), GetSysColor(COLOR_WINDOW));

    button->SetColor(0x00123456);
    EXPECT_NE(ControlBrush(button), ControlBrush(form));
    EXPECT_EQ(BrushColor(ControlBrush(button)), 0x00123456u);
}

TEST_F(ControlToolsTest, WithBrushToolsInUseControlsShareThroughTheirTools) {
    MakeAppAndForm();
    TGraphicTool* keep = MakeBrushTool();
    TControl* button = MakeButtonControl(form, "Button");
    TControl* list = MakeListBoxControl(form, 0x12);
    HBRUSH formBrush = ControlBrush(form);
    ASSERT_NE(form->Brush, nullptr);
    EXPECT_EQ(ControlBrush(button), formBrush);
    EXPECT_EQ(button->Brush->ParentTool, form->Brush);
    EXPECT_EQ(BrushColor(ControlBrush(list)), GetSysColor(COLOR_WINDOW));
    Free(keep);
}

TEST_F(ControlToolsTest, ChildFontSharesTheParentsObjectUntilItDiffers) {
    MakeAppAndForm();
    TGraphicTool* formFont = ControlFont(form);
    EXPECT_EQ(formFont->Color(), form->FontColor);
    TControl* label = MakeLabelControl(form, "Label");
    ASSERT_NE(label->Font, nullptr);
    HGDIOBJ shared = GetToolHandle(formFont);
    EXPECT_EQ(GetToolHandle(label->Font), shared);
    EXPECT_EQ(label->Font->Handle, nullptr);

    SetToolField(ControlFont(label), FontHeightOffset, 20);
    HGDIOBJ own = GetToolHandle(label->Font);
    EXPECT_NE(own, shared);
    EXPECT_EQ(GetToolHandle(formFont), shared);
}

TEST_F(ControlToolsTest, MeasuringTakesADeviceContextOnlyForTheCall) {
    MakeAppAndForm();
    TControl* label = MakeLabelControl(form, "Label");
    ControlFont(label);
    ASSERT_NE(label->GetHandle(), nullptr);
    TCanvas* canvas = ControlCanvas(label);
    EXPECT_EQ(canvas->Owner, label);
    ASSERT_NE(canvas->Font, nullptr);
    EXPECT_NE(canvas->Font, label->Font);

    const SIZE empty = TextExtent(canvas, "");
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, 0);
    const SIZE some = TextExtent(canvas, "Some text");
    EXPECT_GT(some.cx, 0);
    EXPECT_GT(some.cy, 0);
    EXPECT_EQ(canvas->DC, nullptr);
    EXPECT_EQ(canvas->SelectState, 0);

    const SIZE longer = TextExtent(canvas, "Some text, longer");
    EXPECT_GT(longer.cx, some.cx);
    EXPECT_EQ(longer.cy, some.cy);
}

TEST_F(ControlToolsTest, MeasuringMakesTheWindowAndOutlivesTheCanvasItReleases) {
    MakeAppAndForm();
    TControl* label = MakeLabelControl(form, "Label");
    ControlFont(label);
    ASSERT_EQ(label->Handle, nullptr);
    // Making the window applies the font, which releases the canvas being measured with.
    const SIZE size = TextExtent(ControlCanvas(label), "Text");
    EXPECT_NE(label->Handle, nullptr);
    EXPECT_GT(size.cx, 0);
    EXPECT_EQ(label->Canvas, nullptr);
    const SIZE again = TextExtent(ControlCanvas(label), "Text");
    EXPECT_EQ(again.cx, size.cx);
    EXPECT_NE(label->Canvas, nullptr);
}

TEST_F(ControlToolsTest, CanvasWithoutAnyDeviceContextMeasuresOnAMemoryContext) {
    TCanvas* canvas = MakeCanvas(nullptr);
    canvas->Font = MakeFontTool();
    const SIZE size = TextExtent(canvas, "Text");
    EXPECT_GT(size.cx, 0);
    EXPECT_EQ(canvas->DC, nullptr);
    Free(canvas);
}

TEST_F(ControlToolsTest, ChangedFontIsDeselectedBeforeItsObjectIsDeleted) {
    HDC dc = CreateCompatibleDC(nullptr);
    TCanvas* canvas = MakeCanvas(dc);
    canvas->Font = MakeFontTool();
    ASSERT_EQ(RequireState(canvas, CanvasHasDC | CanvasFontSelected), dc);
    HGDIOBJ old = canvas->Font->Handle;
    ASSERT_NE(old, nullptr);

    SetFontStyle(canvas->Font, FontStyleBold);
    EXPECT_EQ(canvas->SelectState & CanvasFontSelected, 0);
    // The layer keeps an object deleted while selected until it is deselected, so the old
    // object is gone only if the stock font went in first.
    EXPECT_FALSE(Exists(old));
    HGDIOBJ current = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(current, GetStockObject(SYSTEM_FONT));

    RequireState(canvas, CanvasHasDC | CanvasFontSelected);
    EXPECT_EQ(SelectObject(dc, GetStockObject(SYSTEM_FONT)), canvas->Font->Handle);
    Free(canvas);
}

TEST_F(ControlToolsTest, PrintClientPaintsOnTheGivenContextWithoutBeginPaint) {
    MakeAppAndForm();
    testsession::PumpUntilIdle();
    PaintProbe probe;
    SetPaintEvent(form, probe.Event());
    HDC memory = CreateCompatibleDC(nullptr);
    form->Invalidate();
    EXPECT_EQ(SendMessageA(form->Handle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), 0), 0);
    EXPECT_EQ(probe.Calls, 1);
    EXPECT_EQ(probe.DC, memory);
    EXPECT_TRUE(probe.HadRegion);
    // The window's own paint is still due: WM_PRINTCLIENT did not validate it.
    EXPECT_TRUE(GetUpdateRect(form->Handle, nullptr, FALSE));
    EXPECT_TRUE(DeleteDC(memory));
}

TEST_F(ControlToolsTest, ControlsWithoutAPaintEventPaintAsUsual) {
    MakeAppAndForm();
    WindowMessage paint{form->Handle, WM_PAINT, 0, 0};
    LRESULT result = 7;
    EXPECT_FALSE(PaintHandler(form, paint, result));
    WindowMessage other{form->Handle, WM_SIZE, 0, 0};
    PaintProbe probe;
    form->PaintEvent = probe.Event();
    EXPECT_FALSE(PaintHandler(form, other, result));
    EXPECT_EQ(result, 7);
    EXPECT_EQ(probe.Calls, 0);
}

} // namespace
