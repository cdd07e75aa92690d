#include <string>
#include <vector>

#include "tests/toolkit/WindowTestSupport.h"
#include "toolkit/Navigation.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

namespace {

class NavigationTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        BuildForm();
    }
};

TEST_F(NavigationTest, TheMainWindowIsTheApplicationsFirstTopLevelChild) {
    TControl* otherForm = MakeFormControl(app, "Other");
    TControl* innerForm = MakeFormControl(form, "Inner");
    EXPECT_TRUE(IsMainWindow(app));
    EXPECT_TRUE(IsMainWindow(form));
    EXPECT_FALSE(IsMainWindow(otherForm));
    EXPECT_FALSE(IsMainWindow(innerForm));
    EXPECT_FALSE(IsMainWindow(first));

    // A lone control is the main window only while no application control exists.
    TControl* lone = MakeFormControl(nullptr, "Lone");
    EXPECT_FALSE(IsMainWindow(lone));
    AppControlExists = false;
    EXPECT_TRUE(IsMainWindow(lone));
    Free(lone);
}

TEST_F(NavigationTest, TheOwningFormIsTheNearestAncestorThatIsNoChildControl) {
    EXPECT_EQ(OwningForm(list), form);
    EXPECT_EQ(OwningForm(form), form);
    EXPECT_EQ(OwningForm(app), app);
    TControl* orphan = MakeButtonControl(nullptr, "orphan");
    EXPECT_EQ(OwningForm(orphan), nullptr);
    Free(orphan);
}

TEST_F(NavigationTest, OnlyEnabledTabStopsTakeTheFocus) {
    SetFocus(first->Handle);
    EXPECT_FALSE(TakeFocus(label)) << "a label is no tab stop";
    second->SetEnabled(false);
    EXPECT_FALSE(TakeFocus(second));
    EXPECT_EQ(GetFocus(), first->Handle);
    EXPECT_TRUE(TakeFocus(list));
    EXPECT_EQ(GetFocus(), list->Handle);

    TControl* later = MakeButtonControl(form, "later");
    EXPECT_TRUE(TakeFocus(later)) << "enabled by its style before the window exists";
    EXPECT_EQ(GetFocus(), list->Handle) << "no window, so the focus stays";
}

TEST_F(NavigationTest, EqualTabOrdersKeepTheOrderOfTheChildren) {
    second->TabOrder = first->TabOrder;
    form->LastFocused = list;
    MoveFocus(form, +1);
    EXPECT_EQ(form->LastFocused, first) << "wraps to the first of the lowest order";
    form->LastFocused = list;
    MoveFocus(form, -1);
    EXPECT_EQ(form->LastFocused, first) << "the first of the largest order below";
}

TEST_F(NavigationTest, KeysForAControlWithoutTheFocusAreDropped) {
    DefaultRecorder recorder(second);
    SetFocus(first->Handle);
    EXPECT_EQ(SendMessageA(second->Handle, WM_KEYDOWN, VK_TAB, 0), 0);
    EXPECT_EQ(GetFocus(), first->Handle);
    EXPECT_FALSE(recorder.Saw(WM_KEYDOWN));
}

} // namespace
