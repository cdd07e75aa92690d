#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/toolkit/ControlTestSupport.h"
#include "toolkit/TControl.h"

namespace {

using ControlItemsTest = ControlTest;
using Items = std::vector<std::string>;

TEST_F(ControlItemsTest, AListBoxKeepsItsItemsThroughTheKindsMessages) {
    MakeAppAndForm();
    TControl* list = MakeListBoxControl(form, 0x12);
    EXPECT_EQ(list->ItemCount(), 0);
    EXPECT_EQ(list->AddItem("one"), 0);
    EXPECT_EQ(list->AddItem("three"), 1);
    EXPECT_EQ(list->InsertItem(1, "two"), 1);
    EXPECT_EQ(list->AddItem(std::string_view("four\0tail", 9)), 3);
    EXPECT_EQ(list->ItemCount(), 4);
    EXPECT_EQ(readback::ListItems(list->Handle), (Items{"one", "two", "three", "four"}));
    EXPECT_EQ(list->ItemAt(2), "three");
    EXPECT_EQ(list->ItemAt(3), "four");
    EXPECT_EQ(list->ItemAt(4), "") << "past the end";
    EXPECT_EQ(list->ItemAt(-1), "");

    list->SetCurrentIndex(2);
    EXPECT_EQ(list->CurrentIndex(), 2);
    EXPECT_EQ(readback::CurrentItem(list->Handle), 2);

    list->ClearItems();
    EXPECT_EQ(list->ItemCount(), 0);
    EXPECT_EQ(list->CurrentIndex(), -1);
}

TEST_F(ControlItemsTest, TheFirstItemIsSelectedOnlyWhereTheListAllowsSeveral) {
    MakeAppAndForm();
    TControl* single = MakeListBoxControl(form, 0x12);
    single->AddItem("only");
    // Windows documents LB_SETSEL for lists of several selections only; Wine selects the item
    // of a single-selection list too.
    EXPECT_EQ(single->CurrentIndex(), testsession::WindowsOrWine(-1, 0));

    TControl* multiple = MakeListBoxControl(form, 0x1A);
    multiple->AddItem("first");
    multiple->AddItem("second");
    EXPECT_EQ(SendMessageA(multiple->Handle, LB_GETSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageA(multiple->Handle, LB_GETSEL, 1, 0), 0);
}

TEST_F(ControlItemsTest, AnEmptyItemAndALongItemComeBackWhole) {
    MakeAppAndForm();
    TControl* list = MakeListBoxControl(form, 0x12);
    const std::string path(1000, 'x');
    list->AddItem("");
    list->AddItem(path);
    EXPECT_EQ(list->ItemAt(0), "");
    EXPECT_EQ(list->ItemAt(1), path);
}

TEST_F(ControlItemsTest, KindsWithoutListMessagesWorkOnTheirText) {
    MakeAppAndForm();
    TControl* label = MakeLabelControl(form, "abc");
    EXPECT_EQ(label->ItemCount(), 0);
    EXPECT_EQ(label->ItemAt(0), "");
    EXPECT_EQ(label->AddItem("def"), 0);
    EXPECT_EQ(label->WindowText(), "abcdef") << "added text is appended";
    EXPECT_EQ(label->InsertItem(0, "x"), -1);
    EXPECT_EQ(label->WindowText(), "abcdef");
    label->ClearItems();
    EXPECT_EQ(label->WindowText(), "");

    EXPECT_EQ(label->CurrentIndex(), 0);
    label->SetCurrentIndex(5);
    EXPECT_EQ(label->CurrentIndex(), 5) << "kept by the control itself";

    TControl* button = MakeButtonControl(form, "button");
    ASSERT_NE(button->GetHandle(), nullptr);
    button->ClearItems();
    EXPECT_EQ(readback::WindowText(button->Handle), "");
}

} // namespace
