#include <gtest/gtest.h>

#include <string>

#include "tests/toolkit/ControlTestSupport.h"
#include "toolkit/ControlTools.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TControl.h"
#include "toolkit/TGraphicTool.h"

namespace {

using ControlGeometryTest = ControlTest;

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

void ExpectRect(const RECT& actual, const RECT& expected, const std::string& what) {
    EXPECT_EQ(Describe(actual), Describe(expected)) << what;
}

TEST_F(ControlGeometryTest, SizeSettersKeepWhatTheyDoNotChange) {
    MakeAppAndForm();
    TControl* button = MakeButtonControl(form, "b");
    button->SetBoundsRect({10, 20, 110, 50});
    struct Step {
        const char* What;
        void (*Apply)(TControl*);
        RECT Expected;
    };
    const Step steps[] = {
        {"SetSize (0, 0) keeps the size", [](TControl* c) { c->SetSize(0, 0); }, {10, 20, 110, 50}},
        {"SetSize (-5, 10) changes only the height",
         [](TControl* c) { c->SetSize(-5, 10); },
         {10, 20, 110, 30}},
        {"SetSize (40, 0) changes only the width",
         [](TControl* c) { c->SetSize(40, 0); },
         {10, 20, 50, 30}},
        {"SetLeft keeps the width", [](TControl* c) { c->SetLeft(100); }, {100, 20, 140, 30}},
        {"SetTop keeps the height", [](TControl* c) { c->SetTop(5); }, {100, 5, 140, 15}},
        {"SetPosition moves both", [](TControl* c) { c->SetPosition(1, 2); }, {1, 2, 41, 12}},
    };
    for (const Step& step : steps) {
        step.Apply(button);
        ExpectRect(button->GetBoundsRect(), step.Expected, step.What);
    }
    ASSERT_NE(button->GetHandle(), nullptr);
    ExpectRect(button->GetBoundsRect(), {1, 2, 41, 12}, "the window is made with the bounds");
    button->SetSize(0, -1);
    button->SetWidth(60);
    ExpectRect(button->GetBoundsRect(), {1, 2, 61, 12}, "and follows them");
    POINT origin{0, 0};
    ClientToScreen(form->Handle, &origin);
    const RECT screen = readback::WindowRect(button->Handle);
    EXPECT_EQ(screen.left - origin.x, 1);
    EXPECT_EQ(screen.top - origin.y, 2);
}

TEST_F(ControlGeometryTest, PositionSetMarksOnlyAnExplicitLeftOrTop) {
    TControl* loose = MakeFormControl(nullptr, "loose");
    roots.push_back(loose);
    loose->SetWidth(300);
    EXPECT_EQ(loose->PositionSet, 0);
    loose->SetTop(10);
    EXPECT_EQ(loose->PositionSet, 2);
    loose->SetLeft(10);
    EXPECT_EQ(loose->PositionSet, 3);
}

TEST_F(ControlGeometryTest, SettingTheSameBoundsTwiceMovesTheWindowOnce) {
    MakeAppAndForm();
    TControl* label = MakeLabelControl(form, "l");
    ASSERT_NE(label->GetHandle(), nullptr);
    MessageCounter moves{WM_WINDOWPOSCHANGING};
    moves.Attach(label);
    label->SetBoundsRect({5, 6, 70, 30});
    label->SetBoundsRect({5, 6, 70, 30});
    EXPECT_EQ(moves.Count, 1);
}

TEST_F(ControlGeometryTest, BoundsFollowTheWindowWhenTheSystemMovesIt) {
    MakeAppAndForm();
    TControl* label = MakeLabelControl(form, "l");
    ASSERT_NE(label->GetHandle(), nullptr);
    MoveWindow(label->Handle, 40, 50, 30, 20, TRUE);
    ExpectRect(label->GetBoundsRect(), {40, 50, 70, 70}, "in the parent's client coordinates");
    EXPECT_EQ(label->GetWidth(), 30);
    EXPECT_EQ(label->GetHeight(), 20);
}

TEST_F(ControlGeometryTest, ClientAreaLosesTheMargins) {
    MakeAppAndForm();
    form->SetBoundsRect({0, 0, 300, 200});
    RECT client{};
    GetClientRect(form->Handle, &client);
    form->MarginLeft = 3;
    form->MarginTop = 4;
    form->MarginRight = 5;
    form->MarginBottom = 6;
    ExpectRect(form->ClientRect(), {3, 4, client.right - 5, client.bottom - 6}, "margins");
    EXPECT_EQ(form->ClientWidth(), client.right - 8);
    EXPECT_EQ(form->ClientHeight(), client.bottom - 10);

    form->SetClientWidth(250);
    form->SetClientHeight(150);
    EXPECT_EQ(form->ClientWidth(), 250);
    EXPECT_EQ(form->ClientHeight(), 150);
}

TEST_F(ControlGeometryTest, AlignedChildrenShareTheParentsClientArea) {
    MakeAppAndForm();
    form->SetBoundsRect({0, 0, 400, 300});
    form->MakeWindow();
    const RECT client = form->ClientRect();
    const LONG w = client.right;
    const LONG h = client.bottom;
    TControl* top = MakeLabelControl(form, "top");       // height 22
    TControl* bottom = MakeLabelControl(form, "bottom"); // height 22
    TControl* left = MakeButtonControl(form, "left");    // width 64
    TControl* right = MakeButtonControl(form, "right");  // width 64
    TControl* fill = MakeListBoxControl(form, 0x12);
    TControl* hidden = MakeLabelControl(form, "hidden");
    hidden->SetVisible(false);
    form->MakeWindow();
    hidden->SetAlign(AlignTop);
    top->SetAlign(AlignTop);
    bottom->SetAlign(AlignBottom);
    left->SetAlign(AlignLeft);
    right->SetAlign(AlignRight);
    fill->SetAlign(AlignClient);

    // B = 2 between every child and the free area's edge.
    ExpectRect(top->GetBoundsRect(), {2, 2, w - 2, 24}, "top");
    ExpectRect(bottom->GetBoundsRect(), {2, h - 24, w - 2, h - 2}, "bottom");
    ExpectRect(left->GetBoundsRect(), {2, 26, 66, h - 26}, "left");
    ExpectRect(right->GetBoundsRect(), {w - 66, 26, w - 2, h - 26}, "right");
    ExpectRect(fill->GetBoundsRect(), {68, 26, w - 68, h - 26}, "client");
    EXPECT_EQ(hidden->Align, AlignTop);
    ExpectRect(hidden->GetBoundsRect(), {2, 2, 66, 24}, "a hidden child takes no part");

    // Growing the form lays the children out again through the realign hook.
    form->SetBoundsRect({0, 0, 500, 300});
    form->MakeWindow();
    const LONG wider = form->ClientRect().right;
    ASSERT_EQ(wider, w + 100);
    RealignChildren(form);
    ExpectRect(top->GetBoundsRect(), {2, 2, wider - 2, 24}, "top after growing");
    ExpectRect(fill->GetBoundsRect(), {68, 26, wider - 68, h - 26}, "client after growing");

    // Showing a child makes room for it.
    hidden->SetVisible(true);
    ExpectRect(hidden->GetBoundsRect(), {2, 26, wider - 2, 48}, "shown after top");
    ExpectRect(left->GetBoundsRect(), {2, 50, 66, h - 26}, "left below both");
}

TEST_F(ControlGeometryTest, AnAreaTooSmallGivesEmptyRectanglesNotNegativeOnes) {
    MakeAppAndForm();
    form->SetBoundsRect({0, 0, 200, 150});
    TControl* list = MakeListBoxControl(form, 0x12);
    form->MakeWindow();
    form->MarginRight = form->ClientWidth();
    list->SetAlign(AlignClient);
    const RECT r = list->GetBoundsRect();
    EXPECT_EQ(r.right, r.left);
    EXPECT_GE(r.bottom, r.top);
}

TEST_F(ControlGeometryTest, AutoSizeFitsTheControlToItsTextPlusTheKindsPads) {
    MakeAppAndForm();
    TControl* label = MakeLabelControl(form, "Some text");
    TControl* button = MakeButtonControl(form, "Press me");
    form->MakeWindow();
    for (TControl* control : {label, button}) {
        control->SetAutoSize(true);
    }
    const SIZE labelText = TextExtent(ControlCanvas(label), "Some text");
    const SIZE buttonText = TextExtent(ControlCanvas(button), "Press me");
    ASSERT_GT(labelText.cx, 0);
    EXPECT_EQ(label->GetWidth(), labelText.cx + 1);
    EXPECT_EQ(label->GetHeight(), labelText.cy + 1);
    EXPECT_EQ(button->GetWidth(), buttonText.cx + 14);
    EXPECT_EQ(button->GetHeight(), 22) << "buttons keep their height";

    label->AssignText("Some longer text");
    EXPECT_EQ(label->GetWidth(), TextExtent(ControlCanvas(label), "Some longer text").cx + 1);
    label->AssignText("");
    EXPECT_EQ(label->GetWidth(), 1) << "an empty text measures as nothing";
    EXPECT_EQ(label->GetHeight(), 1);

    label->SetAlign(AlignLeft);
    label->AssignText("Some text");
    EXPECT_EQ(label->GetWidth(), labelText.cx + 1) << "left-aligned: only the width";
    EXPECT_NE(label->GetHeight(), labelText.cy + 1);

    label->SetAutoSize(false);
    label->AssignText("Some text that is not measured");
    EXPECT_EQ(label->GetWidth(), labelText.cx + 1);
}

TEST_F(ControlGeometryTest, AutoSizeLeavesRoomAfterAnItalicText) {
    MakeAppAndForm();
    TControl* label = MakeLabelControl(form, "Lean");
    form->MakeWindow();
    SetFontStyle(ControlFont(label), FontStyleItalic);
    label->SetAutoSize(true);
    EXPECT_EQ(label->GetWidth(), TextExtent(ControlCanvas(label), "Lean ").cx + 1);
}

} // namespace
