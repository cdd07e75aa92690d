#include "toolkit/TControl.h"

#include <gtest/gtest.h>

#include "tests/toolkit/ControlTestSupport.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

namespace {

using TControlTest = ControlTest;

TEST_F(TControlTest, AControlWithoutParentHasTheDefaultsAndNoBounds) {
    TControl* control = MakeWindowedControl(nullptr, "Form", true);
    roots.push_back(control);
    EXPECT_EQ(control->ClassStyle, 0x20u);
    EXPECT_EQ(control->Style, 0x16CF0000u);
    EXPECT_EQ(control->ExStyle, 0x10000u);
    EXPECT_EQ(control->FontColor, 0x80000008u);
    EXPECT_EQ(control->Color, 0x8000000Fu);
    EXPECT_EQ(control->RegisteredProc, &ClassWindowProc);
    const RECT bounds = control->BoundsRect;
    EXPECT_EQ(bounds.left | bounds.top | bounds.right | bounds.bottom, 0);
    EXPECT_EQ(control->Font, nullptr);
    EXPECT_EQ(control->Brush, nullptr);
}

TEST_F(TControlTest, AChildTakesOverItsParentsSettingsAndSitsInsideItsBorderAndMargins) {
    TControl* parent = MakeFormControl(nullptr, "Parent");
    roots.push_back(parent);
    parent->Border = 5;
    parent->MarginLeft = 7;
    parent->MarginTop = 3;
    parent->Color = 0x00123456;
    parent->FontColor = 0x00654321;
    parent->ChildCtl3D = false;
    TControl* child = MakeWindowedControl(parent, "Form", true);
    EXPECT_EQ(child->Parent, parent);
    EXPECT_EQ(parent->Children->Get(0), child);
    EXPECT_EQ(child->Border, 5);
    EXPECT_EQ(child->Color, 0x00123456u);
    EXPECT_EQ(child->FontColor, 0x00654321u);
    EXPECT_FALSE(child->ChildCtl3D);
    EXPECT_FALSE(child->Ctl3D) << "the parent's children get no 3-D edge";
    EXPECT_EQ(child->BoundsRect.left, 12);
    EXPECT_EQ(child->BoundsRect.top, 8);
    EXPECT_EQ(child->BoundsRect.right, 76);
    EXPECT_EQ(child->BoundsRect.bottom, 72);
}

TEST_F(TControlTest, ListBoxStylesFollowOptionsAndTheThreeDimensionalEdge) {
    MakeAppAndForm();
    TControl* list = MakeListBoxControl(form, 0x12);
    EXPECT_EQ(list->Style, 0x56210141u) << "clip bits added, border removed";
    EXPECT_EQ(list->ExStyle, 0x10200u);
    EXPECT_TRUE(list->Ctl3D);
    EXPECT_EQ(list->Color, 0x80000005u);
    EXPECT_EQ(list->NavigationKeys, 3u);
    EXPECT_EQ(list->KindName, "LISTBOX");
    EXPECT_EQ(list->BoundsRect.right - list->BoundsRect.left, 164);
    EXPECT_EQ(list->BoundsRect.bottom - list->BoundsRect.top, 200);

    form->SetCtl3D(false);
    TControl* flat = MakeListBoxControl(form, 0x12);
    EXPECT_EQ(flat->Style, 0x56A10141u) << "without the 3-D edge the border stays";
    EXPECT_EQ(flat->ExStyle, 0x10000u);
}

struct KindCase {
    const char* Name;
    TControl* (*Make)(TControl* parent);
    DWORD Style;
    DWORD ExStyle;
    std::int32_t Height;
    bool TabStop;
    std::uint8_t TextAlign;
};

TEST_F(TControlTest, ButtonsAndLabelsGetTheirKindsStyleSizeAndText) {
    const KindCase cases[] = {
        {"BUTTON", [](TControl* p) { return MakeButtonControl(p, "Go"); }, 0x56011000, 0x10000, 22,
         true, TextAlignCenter},
        {"STATIC", [](TControl* p) { return MakeLabelControl(p, "Go"); }, 0x5600018C, 0x10000, 22,
         false, TextAlignLeft},
    };
    MakeAppAndForm();
    for (const KindCase& c : cases) {
        TControl* control = c.Make(form);
        EXPECT_EQ(control->KindName, c.Name);
        EXPECT_EQ(control->Style, c.Style) << c.Name;
        EXPECT_EQ(control->ExStyle, c.ExStyle) << c.Name;
        EXPECT_EQ(control->BoundsRect.bottom - control->BoundsRect.top, c.Height) << c.Name;
        EXPECT_EQ(control->TabStop, c.TabStop) << c.Name;
        EXPECT_EQ(control->TextAlign, c.TextAlign) << c.Name;
        EXPECT_TRUE(control->IsChildControl);
        EXPECT_EQ(control->NavigationKeys, 15u);
        EXPECT_EQ(control->WindowText(), "Go");
    }
}

TEST_F(TControlTest, ChildControlIdsCountFrom32768AndWrapAtSixteenBits) {
    MakeAppAndForm();
    EXPECT_EQ(MakeButtonControl(form, "a")->ControlId, 32768u);
    EXPECT_EQ(MakeLabelControl(form, "b")->ControlId, 32769u);
    TControl* list = MakeListBoxControl(form, 0);
    EXPECT_EQ(list->ControlId, 32770u);
    EXPECT_EQ(GetWindowLongA(list->GetHandle(), GWL_ID), 32770);
    NextControlId = 0xFFFF;
    EXPECT_EQ(MakeButtonControl(form, "c")->ControlId, 0xFFFFu);
    EXPECT_EQ(MakeButtonControl(form, "d")->ControlId, 0u);
}

TEST_F(TControlTest, TheFirstTabStopBecomesTheFormsLastFocusedAndTabOrdersCountControls) {
    MakeAppAndForm();
    TControl* label = MakeLabelControl(form, "not a tab stop");
    TControl* first = MakeButtonControl(form, "first");
    TControl* second = MakeButtonControl(form, "second");
    EXPECT_EQ(form->LastFocused, first);
    EXPECT_EQ(label->TabOrder, 1);
    EXPECT_EQ(first->TabOrder, 2);
    EXPECT_EQ(second->TabOrder, 3);
    EXPECT_EQ(form->TabOrder, 3);
}

TEST_F(TControlTest, SetTabOrderMakesRoomAmongTheFormsTabStops) {
    MakeAppAndForm();
    TControl* a = MakeButtonControl(form, "a");
    TControl* b = MakeButtonControl(form, "b");
    TControl* c = MakeButtonControl(form, "c");
    TControl* hidden = MakeButtonControl(form, "hidden");
    hidden->SetVisible(false);
    c->SetTabOrder(1);
    EXPECT_EQ(c->TabOrder, 1);
    EXPECT_EQ(a->TabOrder, 2);
    EXPECT_EQ(b->TabOrder, 3);
    EXPECT_EQ(hidden->TabOrder, 4) << "a hidden control is no tab stop and keeps its order";
}

TEST_F(TControlTest, TextAlignmentRestylesThroughTheKind) {
    MakeAppAndForm();
    TControl* label = MakeLabelControl(form, "label");
    TControl* button = MakeButtonControl(form, "button");
    label->SetTextAlign(TextAlignRight);
    EXPECT_EQ(label->Style, 0x56000182u) << "stored before the window exists";
    form->MakeWindow();
    ASSERT_NE(label->Handle, nullptr);
    struct Case {
        TControl* Control;
        std::uint8_t Align;
        DWORD Style;
    };
    const Case cases[] = {
        {label, TextAlignCenter, 0x56000181}, // SS_RIGHT replaced by SS_CENTER
        {label, TextAlignLeft, 0x56000180},    {button, TextAlignRight, 0x56011200}, // BS_RIGHT
        {button, TextAlignLeft, 0x56011100}, // BS_LEFT, BS_RIGHT gone
        {button, TextAlignCenter, 0x56011300},
    };
    for (const Case& c : cases) {
        c.Control->SetTextAlign(c.Align);
        EXPECT_EQ(c.Control->Style, c.Style) << c.Control->KindName << int{c.Align};
        EXPECT_EQ(readback::Style(c.Control->Handle), c.Style);
        EXPECT_EQ(c.Control->TextAlign, c.Align);
    }
}

TEST_F(TControlTest, TheApplicationControlIsAPopupWithATrimmedSystemMenu) {
    app = MakeAppControl("Kestrin");
    MainControl = app;
    EXPECT_TRUE(AppControlExists);
    EXPECT_EQ(app->Style, 0x90CA0000u);
    EXPECT_EQ(app->ExStyle, 0x40000u);
    ASSERT_NE(app->GetHandle(), nullptr);
    EXPECT_EQ(readback::ClassName(app->Handle), "obj_App");
    EXPECT_EQ(readback::WindowText(app->Handle), "Kestrin");
    HMENU menu = GetSystemMenu(app->Handle, FALSE);
    ASSERT_NE(menu, nullptr);
    for (UINT command : {SC_MAXIMIZE, SC_MOVE, SC_SIZE}) {
        EXPECT_EQ(GetMenuState(menu, command, MF_BYCOMMAND), static_cast<UINT>(-1)) << command;
    }
    EXPECT_NE(GetMenuState(menu, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST_F(TControlTest, StyleSettersReachAnExistingWindow) {
    MakeAppAndForm();
    TControl* button = MakeButtonControl(form, "b");
    HWND window = button->GetHandle();

    button->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(window));
    EXPECT_NE(button->Style & WS_DISABLED, 0u);
    EXPECT_FALSE(button->GetEnabled());
    button->SetEnabled(true);
    EXPECT_TRUE(readback::IsEnabled(window));

    button->SetExStyle(button->ExStyle | WS_EX_TRANSPARENT);
    EXPECT_NE(readback::ExStyle(window) & WS_EX_TRANSPARENT, 0u);

    // A button counts as 3-D from the start without carrying the edge.
    button->SetCtl3D(true);
    EXPECT_EQ(readback::ExStyle(window) & WS_EX_CLIENTEDGE, 0u);
    button->SetCtl3D(false);
    EXPECT_EQ(readback::ExStyle(window) & WS_EX_CLIENTEDGE, 0u);
    EXPECT_NE(readback::Style(window) & WS_BORDER, 0u);
    EXPECT_FALSE(button->ChildCtl3D);
    button->SetCtl3D(true);
    EXPECT_NE(readback::ExStyle(window) & WS_EX_CLIENTEDGE, 0u);
    EXPECT_EQ(readback::Style(window) & WS_BORDER, 0u);
    EXPECT_TRUE(button->ChildCtl3D);
}

TEST_F(TControlTest, EnablingBeforeTheWindowExistsIsHandedToIt) {
    MakeAppAndForm();
    TControl* button = MakeButtonControl(form, "b");
    button->SetEnabled(false);
    EXPECT_FALSE(button->GetEnabled());
    form->MakeWindow();
    ASSERT_NE(button->Handle, nullptr);
    EXPECT_FALSE(readback::IsEnabled(button->Handle));
}

TEST_F(TControlTest, AlphaBlendLayersTheWindowUntilOpaqueAgain) {
    MakeAppAndForm();
    form->SetAlphaBlend(128);
    EXPECT_NE(readback::ExStyle(form->Handle) & WS_EX_LAYERED, 0u);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    form->SetAlphaBlend(255);
    EXPECT_EQ(readback::ExStyle(form->Handle) & WS_EX_LAYERED, 0u);
}

TEST_F(TControlTest, WindowStateShowsTheWindowMinimizedOrMaximized) {
    MakeAppAndForm();
    form->SetWindowState(1);
    EXPECT_TRUE(IsIconic(form->Handle));
    EXPECT_EQ(form->WindowState, 1) << "taken from WM_SIZE";
    form->SetWindowState(0);
    EXPECT_FALSE(IsIconic(form->Handle));
    EXPECT_FALSE(IsZoomed(form->Handle));
    form->SetWindowState(2);
    EXPECT_TRUE(IsZoomed(form->Handle));
    EXPECT_EQ(form->WindowState, 2);
}

TEST_F(TControlTest, ACursorIsShownAtOnceOnlyWhenTheMouseIsOverTheClientArea) {
    MakeAppAndForm();
    form->SetBoundsRect({100, 100, 300, 250});
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    ::SetCursor(arrow);
    SetCursorPos(5, 5);
    form->SetCursor(cross);
    EXPECT_EQ(GetCursor(), arrow) << "the mouse is elsewhere";
    POINT inside{10, 10};
    ClientToScreen(form->Handle, &inside);
    SetCursorPos(inside.x, inside.y);
    form->SetCursor(hand);
    EXPECT_EQ(GetCursor(), hand);
    EXPECT_EQ(form->Cursor, hand);
}

TEST_F(TControlTest, TextIsStoredBeforeTheWindowAndSetOnItAfterwards) {
    MakeAppAndForm();
    TControl* label = MakeLabelControl(form, "before");
    EXPECT_EQ(label->Handle, nullptr);
    label->AssignText(std::string_view("cut\0here", 8));
    EXPECT_EQ(label->WindowText(), "cut");
    ASSERT_NE(label->GetHandle(), nullptr);
    EXPECT_EQ(readback::WindowText(label->Handle), "cut");
    label->AssignText("after");
    EXPECT_EQ(readback::WindowText(label->Handle), "after");
    SetWindowTextA(label->Handle, "changed by the window");
    EXPECT_EQ(label->WindowText(), "changed by the window");
}

TEST_F(TControlTest, AColourChangeDropsTheCachedBrush) {
    MakeAppAndForm();
    TControl* label = MakeLabelControl(form, "x");
    HBRUSH cached = CreateSolidBrush(RGB(1, 2, 3));
    label->BrushHandle = cached;
    label->SetColor(label->Color);
    EXPECT_EQ(label->BrushHandle, cached) << "the same colour keeps the brush";
    label->SetColor(0x00FF0000);
    EXPECT_EQ(label->Color, 0x00FF0000u);
    EXPECT_EQ(label->BrushHandle, nullptr);
}

TEST_F(TControlTest, DestroyingAParentFreesItsChildrenLastFirstBeforeItsOwnWindowGoes) {
    MakeAppAndForm();
    TControl* parent = MakeFormControl(app, "Second");
    TControl* a = MakeButtonControl(parent, "a");
    TControl* b = MakeLabelControl(parent, "b");
    TControl* c = MakeListBoxControl(parent, 0);
    ASSERT_NE(parent->GetHandle(), nullptr);
    HWND childWindow = b->Handle;
    ASSERT_NE(childWindow, nullptr);
    DestructionLog log;
    log.Watched = parent->Handle;
    for (TControl* control : {parent, a, b, c}) {
        log.Watch(control);
    }
    HWND parentWindow = parent->Handle;
    Free(parent);
    const std::vector<TControl*> expected = {parent, c, b, a};
    EXPECT_EQ(log.Order, expected) << "the parent's notification first, then children last-made "
                                      "first";
    EXPECT_EQ(log.WindowAlive, (std::vector<bool>{true, true, true, true}));
    EXPECT_FALSE(IsWindow(parentWindow));
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_EQ(app->Children->IndexOf(parent), -1);
    EXPECT_EQ(app->Children->Count(), 1);
}

TEST_F(TControlTest, AFreedControlIsNoLongerItsFormsLastFocused) {
    MakeAppAndForm();
    TControl* first = MakeButtonControl(form, "first");
    ASSERT_EQ(form->LastFocused, first);
    Free(first);
    EXPECT_EQ(form->LastFocused, nullptr);
    EXPECT_EQ(form->Children->Count(), 0);
}

TEST_F(TControlTest, AControlWhoseWindowWasReleasedStillLeavesItsParentAndFreesItsChildren) {
    MakeAppAndForm();
    TControl* inner = MakeFormControl(form, "inner");
    TControl* child = MakeButtonControl(inner, "child");
    ASSERT_NE(inner->GetHandle(), nullptr);
    DestructionLog log;
    log.Watch(child);
    // The window went away by itself; the window procedure then releases the control with
    // FieldsReleased set.
    DestroyWindow(inner->Handle);
    inner->FieldsReleased = true;
    Free(inner);
    EXPECT_EQ(form->Children->Count(), 0) << "no dangling child left in the parent";
    EXPECT_EQ(log.Order, std::vector<TControl*>{child});
}

TEST_F(TControlTest, AHeldChildLeavesItsDestroyedParentAndDiesAtItsLastHold) {
    MakeAppAndForm();
    TControl* parent = MakeFormControl(app, "Second");
    TControl* child = MakeButtonControl(parent, "held");
    ASSERT_NE(parent->GetHandle(), nullptr);
    DestructionLog log;
    log.Watch(child);
    AddHold(child);
    Free(parent);
    EXPECT_TRUE(log.Order.empty()) << "a held child lives on";
    EXPECT_EQ(child->Parent, nullptr);
    DropHold(child);
    EXPECT_EQ(log.Order.size(), 1u);
}

TEST_F(TControlTest, SetParentMovesTheControlAndTellsBothParents) {
    static int changes = 0;
    changes = 0;
    TControl* one = MakeFormControl(nullptr, "one");
    TControl* two = MakeFormControl(nullptr, "two");
    roots = {one, two};
    one->ChildrenChanged = [](TControl*) { ++changes; };
    two->ChildrenChanged = [](TControl*) { ++changes; };
    TControl* child = MakeWindowedControl(one, "Form", true);
    EXPECT_EQ(changes, 1);
    child->SetParent(two);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(one->Children->Count(), 0);
    EXPECT_EQ(two->Children->Get(0), child);
    child->SetParent(two);
    EXPECT_EQ(changes, 3) << "the same parent again changes nothing";
}

} // namespace
