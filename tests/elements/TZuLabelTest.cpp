#include "elements/TZuLabel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "tests/elements/LinkProbe.h"
#include "tests/elements/TZuLabelTest.h"
#include "toolkit/ControlTools.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TControl.h"
#include "toolkit/TGraphicTool.h"

namespace {

TEST_F(TZuLabelTest, ShowsEachKindOfValueAsText) {
    TZuLabel& label = MakeLabel();
    // Assigned a string rather than a literal: GCC 12 sees overlapping copies in the latter
    // (its -Wrestrict false positive at -O3).
    label.Caption = std::string("0");
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

} // namespace
