#include "elements/TZuLabel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "platform/testing.h"
#include "tests/elements/LinkProbe.h"
#include "tests/elements/WindowElementTest.h"
#include "toolkit/ControlTools.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TControl.h"
#include "toolkit/TGraphicTool.h"

namespace {

constexpr std::uint32_t Blue = 0xFF0000;

class TZuLabelTest : public WindowElementTest {
protected:
    void SetUp() override {
        WindowElementTest::SetUp();
        MakeForm();
    }

    TZuLabel& MakeLabel() {
        TZuLabel& label = Make<TZuLabel>(form);
        label.Left = 40;
        label.Top = 20;
        label.Width = 60;
        label.Height = 15;
        label.Color = 0xFF00000F;
        label.Font = MakeFontRec("MS Sans Serif", 8, 0, 0, 1);
        return label;
    }

    std::string Shown(TZuLabel& label) { return testdriver::WindowText(label.Control->Handle); }

    // Moves the mouse onto the label, then onto an empty part of the form.
    void Enter(TZuLabel& label) { testdriver::MouseMove(label.Control->Handle, 5, 5); }
    void Leave() { testdriver::MouseMove(form->Handle, 300, 250); }

    TGraphicTool* FontTool(TZuLabel& label) { return ControlFont(label.Control); }
};

TEST_F(TZuLabelTest, ShowsEachKindOfValueAsText) {
    TZuLabel& label = MakeLabel();
    label.Caption = "0";
    label.Init();
    ShowWindows();
    EXPECT_EQ(Shown(label), "0");

    const struct {
        TData Value;
        std::string Text;
    } cases[] = {
        {MakeInteger(2), "2"},
        {MakeInteger(5), "5"},
        {MakeInteger(-7), "-7"},
        {MakeString("траене:"), "траене:"},
        {MakeReal(60.0), "60"},
        {MakeReal(2.5), "2.5"},
        {MakeReal(1.0 / 3.0), "0.333333333333333"},
        {TData{}, ""},
        {MakeInteger(1), "1"},
        {MakeArray(nullptr), ""},
    };
    const TZu_Event setText = MakeEvent<&TZuLabel::SetText>(&label, 0);
    for (const auto& c : cases) {
        Send(setText, c.Value);
        EXPECT_EQ(Shown(label), c.Text);
    }
}

TEST_F(TZuLabelTest, ABoundTextPointIsReadInsteadOfTheValueSent) {
    Provider text(MakeString("from the point"));
    TZuLabel& label = MakeLabel();
    label.Text = text.Point();
    label.Init();
    ShowWindows();

    Send(MakeEvent<&TZuLabel::SetText>(&label, 0), MakeInteger(9));

    EXPECT_EQ(Shown(label), "from the point");
    ASSERT_EQ(text.Seen.size(), 1u);
    EXPECT_EQ(text.Seen[0].Tag, TagNone);
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

    Leave();
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
        Leave();
        EXPECT_EQ(FontTool(label)->Color(), 0x000080u);
        EXPECT_EQ(label.Control->Cursor, cross);
    }
}

} // namespace
