#include <gtest/gtest.h>

#include "tests/toolkit/ControlTestSupport.h"
#include "toolkit/ControlTools.h"
#include "toolkit/TControl.h"
#include "toolkit/TGraphicTool.h"
#include "toolkit/WindowProc.h"

namespace {

using ControlWindowTest = ControlTest;

struct ClassCase {
    const char* SystemClass;
    TControl* (*Make)(TControl* parent);
};

TEST_F(ControlWindowTest, ChildKindsGetAClassDerivedFromTheSystemClass) {
    const ClassCase cases[] = {
        {"BUTTON", [](TControl* p) { return MakeButtonControl(p, "b"); }},
        {"STATIC", [](TControl* p) { return MakeLabelControl(p, "s"); }},
        {"LISTBOX", [](TControl* p) { return MakeListBoxControl(p, 0x12); }},
    };
    MakeAppAndForm();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const ClassCase& c : cases) {
        TControl* control = c.Make(form);
        ASSERT_NE(control->GetHandle(), nullptr) << c.SystemClass;
        const std::string name = std::string("obj_") + c.SystemClass;
        EXPECT_EQ(readback::ClassName(control->Handle), name);
        WNDCLASSA system{};
        ASSERT_TRUE(GetClassInfoA(nullptr, c.SystemClass, &system));
        WNDCLASSA derived{};
        ASSERT_TRUE(GetClassInfoA(instance, name.c_str(), &derived));
        EXPECT_EQ(control->PrevWindowProc, system.lpfnWndProc) << c.SystemClass;
        EXPECT_EQ(derived.lpfnWndProc, &ClassWindowProc);
        EXPECT_EQ(derived.style, system.style & 0xFFFFBF1F);
        EXPECT_EQ(derived.cbWndExtra, system.cbWndExtra);
        EXPECT_EQ(GetPropA(control->Handle, SelfProperty), control);
        EXPECT_EQ(GetParent(control->Handle), form->Handle);
    }
}

TEST_F(ControlWindowTest, FormsAndTheApplicationHaveTheirOwnClassesWithDefaultProcessing) {
    MakeAppAndForm();
    EXPECT_EQ(readback::ClassName(form->Handle), "obj_Form");
    EXPECT_EQ(form->PrevWindowProc, nullptr);
    EXPECT_EQ(app->PrevWindowProc, nullptr);
    WNDCLASSA formClass{};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "obj_Form", &formClass));
    EXPECT_EQ(formClass.style, static_cast<UINT>(CS_DBLCLKS)) << "no own device context";
    EXPECT_EQ(formClass.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(GetWindow(form->Handle, GW_OWNER), app->Handle) << "owned by the application";
    EXPECT_EQ(CreatingControl, nullptr);
}

TEST_F(ControlWindowTest, ZeroSizesAndUnsetPositionsAreLeftToTheSystem) {
    TControl* loose = MakeFormControl(nullptr, "loose");
    roots.push_back(loose);
    loose->SetVisible(true);
    ASSERT_NE(loose->GetHandle(), nullptr);
    const RECT placed = readback::WindowRect(loose->Handle);
    EXPECT_GT(placed.right - placed.left, 0) << "a zero width is made CW_USEDEFAULT";
    EXPECT_GT(placed.bottom - placed.top, 0);

    TControl* positioned = MakeFormControl(nullptr, "positioned");
    roots.push_back(positioned);
    positioned->SetBoundsRect({30, 40, 230, 140});
    ASSERT_NE(positioned->GetHandle(), nullptr);
    const RECT exact = readback::WindowRect(positioned->Handle);
    EXPECT_EQ(exact.left, 30);
    EXPECT_EQ(exact.top, 40);
    EXPECT_EQ(exact.right, 230);
    EXPECT_EQ(exact.bottom, 140);

    TControl* sizedOnly = MakeFormControl(nullptr, "sized only");
    roots.push_back(sizedOnly);
    sizedOnly->SetWidth(200);
    sizedOnly->SetHeight(100);
    EXPECT_EQ(sizedOnly->PositionSet, 0) << "a new width or height does not mark the position";
    ASSERT_NE(sizedOnly->GetHandle(), nullptr);
    const RECT cascaded = readback::WindowRect(sizedOnly->Handle);
    EXPECT_EQ(cascaded.right - cascaded.left, 200);
    EXPECT_EQ(cascaded.bottom - cascaded.top, 100);
    // Where the system puts it is its own choice; ours cascades, Wine uses the corner.
    if (testsession::RunningOnOwnLayer()) {
        EXPECT_FALSE(cascaded.left == 0 && cascaded.top == 0) << "placed by the system";
    }
}

TEST_F(ControlWindowTest, AWindowMadeBeforeItsVisibilityWasSetIsShownOnTheNextPass) {
    MakeAppAndForm();
    TControl* list = MakeListBoxControl(form, 0x12);
    ASSERT_NE(list->GetHandle(), nullptr);
    EXPECT_TRUE(list->CreatedHidden);
    EXPECT_FALSE(readback::IsVisible(list->Handle));
    form->MakeWindow();
    EXPECT_FALSE(list->CreatedHidden);
    EXPECT_TRUE(list->Visible);
    EXPECT_TRUE(readback::IsVisible(list->Handle));
}

TEST_F(ControlWindowTest, AControlWhoseVisibilityWasSetIsMadeAsSet) {
    MakeAppAndForm();
    TControl* shown = MakeButtonControl(form, "shown");
    shown->SetVisible(true);
    TControl* hidden = MakeButtonControl(form, "hidden");
    hidden->SetVisible(false);
    ASSERT_NE(shown->GetHandle(), nullptr);
    ASSERT_NE(hidden->GetHandle(), nullptr);
    EXPECT_FALSE(shown->CreatedHidden);
    EXPECT_TRUE(readback::IsVisible(shown->Handle));
    form->MakeWindow();
    EXPECT_FALSE(readback::IsVisible(hidden->Handle)) << "the next pass leaves it hidden";
}

TEST_F(ControlWindowTest, AChildStyleWithoutParentWindowFailsAndBindsNothing) {
    TControl* orphan = MakeButtonControl(nullptr, "orphan");
    roots.push_back(orphan);
    EXPECT_EQ(orphan->GetHandle(), nullptr);
    EXPECT_FALSE(orphan->MakeWindow());
    EXPECT_EQ(CreatingControl, nullptr);
    EXPECT_EQ(orphan->ItemCount(), 0);
    orphan->AssignText("still stored");
    EXPECT_EQ(orphan->WindowText(), "still stored");
}

TEST_F(ControlWindowTest, AFailedCreationLeavesNoControlWaitingForTheNextWindow) {
    MakeAppAndForm();
    // A parent whose window is gone: its stale handle makes CreateWindowExA fail at once.
    HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    TControl* stale = MakeFormControl(nullptr, "stale");
    roots.push_back(stale);
    stale->Handle = gone;
    TControl* child = MakeButtonControl(stale, "child");
    EXPECT_FALSE(child->MakeWindow());
    EXPECT_EQ(child->Handle, nullptr);
    EXPECT_EQ(CreatingControl, nullptr);

    TControl* next = MakeButtonControl(form, "next");
    ASSERT_NE(next->GetHandle(), nullptr);
    EXPECT_EQ(GetPropA(next->Handle, SelfProperty), next);
}

TEST_F(ControlWindowTest, AChildWindowMakesItsParentsWindowFirst) {
    app = MakeAppControl("App");
    MainControl = app;
    form = MakeFormControl(app, "Form");
    TControl* button = MakeButtonControl(form, "b");
    ASSERT_NE(button->GetHandle(), nullptr);
    ASSERT_NE(form->Handle, nullptr);
    ASSERT_NE(app->Handle, nullptr);
    EXPECT_EQ(GetParent(button->Handle), form->Handle);
}

TEST_F(ControlWindowTest, AFormShowsACopyOfTheApplicationsIcon) {
    MakeAppAndForm();
    HICON appIcon = LoadIconA(nullptr, IDI_APPLICATION);
    app->SetIcon(appIcon);
    TControl* second = MakeFormControl(app, "second");
    HICON copy = second->GetIcon();
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, appIcon);
    EXPECT_EQ(second->GetIcon(), copy) << "the copy is kept";
    ASSERT_NE(second->GetHandle(), nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(second->Handle, WM_GETICON, ICON_BIG, 0)), copy);

    second->SetIcon(NoIcon());
    EXPECT_EQ(second->GetIcon(), nullptr);
    EXPECT_EQ(SendMessageA(second->Handle, WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(ControlWindowTest, WithoutAnIconResourceTheMainControlHasNoIcon) {
    app = MakeAppControl("App");
    MainControl = app;
    EXPECT_EQ(app->GetIcon(), nullptr);
    TControl* loose = MakeFormControl(app, "form");
    EXPECT_EQ(loose->GetIcon(), nullptr) << "nothing to copy";
}

TEST_F(ControlWindowTest, InvalidateRepaintsUntilTheApplicationTerminates) {
    MakeAppAndForm();
    testsession::PumpUntilIdle();
    RECT update{};
    ASSERT_FALSE(GetUpdateRect(form->Handle, &update, FALSE));
    form->Invalidate();
    EXPECT_TRUE(GetUpdateRect(form->Handle, &update, FALSE));
    testsession::PumpUntilIdle();
    AppTerminated = true;
    form->Invalidate();
    EXPECT_FALSE(GetUpdateRect(form->Handle, &update, FALSE));
}

TEST_F(ControlWindowTest, AfterCreationTheHooksRunAndTheFontIsApplied) {
    static std::vector<TControl*> created;
    created.clear();
    MakeAppAndForm();
    AfterCreateHook = [](TControl* control) { created.push_back(control); };
    ControlFont(form);
    TControl* label = MakeLabelControl(form, "font");
    ASSERT_NE(label->Font, nullptr);
    EXPECT_EQ(label->Font->ParentTool, form->Font);
    ASSERT_NE(label->GetHandle(), nullptr);
    EXPECT_EQ(created, std::vector<TControl*>{label});
    EXPECT_NE(SendMessageA(label->Handle, WM_GETFONT, 0, 0), 0);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(label->Handle, WM_GETFONT, 0, 0)),
              GetToolHandle(form->Font))
        << "equal fonts share the parent's object";
}

TEST_F(ControlWindowTest, SendToBackPutsTheWindowBelowItsSiblings) {
    MakeAppAndForm();
    TControl* a = MakeButtonControl(form, "a");
    TControl* b = MakeButtonControl(form, "b");
    form->MakeWindow();
    ASSERT_EQ(GetWindow(form->Handle, GW_CHILD), a->Handle);
    a->SendToBack();
    EXPECT_EQ(GetWindow(form->Handle, GW_CHILD), b->Handle);
    EXPECT_EQ(GetWindow(b->Handle, GW_HWNDNEXT), a->Handle);
}

} // namespace
