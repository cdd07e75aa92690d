// The label element driven by input through the test driver: clicks, and the hover look
// (POSIX only).

#include "elements/TZuLabel.h"

#include <gtest/gtest.h>

#include "core/TData.h"
#include "platform/testing.h"
#include "tests/elements/LinkProbe.h"
#include "tests/elements/TZuLabelTest.h"
#include "toolkit/ControlTools.h"
#include "toolkit/TGraphicTool.h"

namespace {

constexpr std::uint32_t Blue = 0xFF0000;

// Moves the mouse onto the label, then onto an empty part of its form.
void Enter(TZuLabel& label) {
    testdriver::MouseMove(label.Control->Handle, 5, 5);
}

void Leave(TControl* form) {
    testdriver::MouseMove(form->Handle, 300, 250);
}

TEST_F(TZuLabelTest, AClickFiresOnClickWithoutAValue) {
    Probe clicks;
    TZuLabel& label = MakeLabel();
    label.OnClick = clicks.Point();
    label.Init();
    ShowWindows();

    testdriver::Click(label.Control->Handle, 3, 3);

    ASSERT_EQ(clicks.Values.size(), 1u);
    EXPECT_EQ(clicks.Values[0].Tag, TagNone);
}

TEST_F(TZuLabelTest, HoverChangesColourCursorAndUnderlineAndLeavingRestoresThem) {
    const HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    const HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    TZuLabel& label = MakeLabel();
    label.Font = MakeFontRec("MS Sans Serif", 8, FontStyleBold, 0x000080, 1);
    label.Cursor = cross;
    label.HoverColor = Blue;
    label.HoverCursor = hand;
    label.HoverUnderline = true;
    label.Init();
    ShowWindows();

    Enter(label);
    EXPECT_EQ(FontTool(label)->Color(), Blue);
    EXPECT_EQ(label.Control->Cursor, hand);
    EXPECT_EQ(GetFontStyle(FontTool(label)), FontStyleBold | FontStyleUnderline);

    Leave(form);
    EXPECT_EQ(FontTool(label)->Color(), 0x000080u);
    // Back to the class arrow, not to the element's own cursor.
    EXPECT_EQ(label.Control->Cursor, nullptr);
    EXPECT_EQ(GetFontStyle(FontTool(label)), FontStyleBold);
}

TEST_F(TZuLabelTest, HoverWithoutHoverSettingsChangesNothing) {
    const HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    TZuLabel& label = MakeLabel();
    label.Font = MakeFontRec("MS Sans Serif", 8, 0, 0x000080, 1);
    label.Cursor = cross;
    label.Init();
    ShowWindows();

    for (int pass = 0; pass < 2; ++pass) {
        Enter(label);
        EXPECT_EQ(FontTool(label)->Color(), 0x000080u);
        EXPECT_EQ(label.Control->Cursor, cross);
        EXPECT_EQ(GetFontStyle(FontTool(label)), 0);
        Leave(form);
        EXPECT_EQ(FontTool(label)->Color(), 0x000080u);
        EXPECT_EQ(label.Control->Cursor, cross);
    }
}

} // namespace
