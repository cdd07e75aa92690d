// The list box element clicked through the test driver (POSIX only).

#include "elements/TZuListBox.h"

#include <gtest/gtest.h>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "platform/testing.h"
#include "tests/elements/TZuListBoxTest.h"

namespace {

// Clicks the middle of an item row.
void ClickItem(TZuListBox& list, int index) {
    RECT row{};
    SendMessageA(list.Control->Handle, LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&row));
    testdriver::Click(list.Control->Handle, (row.left + row.right) / 2, (row.top + row.bottom) / 2);
}

TEST_F(TZuListBoxTest, AUserClickFiresOnSelectWithTheIndexOrTheText) {
    const struct {
        std::uint8_t SelectOutput;
        TData Expected;
    } cases[] = {
        {0, MakeInteger(1)},
        {1, MakeString("middle")},
        {2, MakeInteger(1)},
    };
    for (const auto& c : cases) {
        selections.Values.clear();
        TZuListBox& list = MakeList();
        list.SelectOutput = c.SelectOutput;
        list.Strings = "top\r\nmiddle\r\nbottom";
        list.Init();
        ShowWindows();

        ClickItem(list, 1);

        ASSERT_EQ(selections.Values.size(), 1u) << int{c.SelectOutput};
        EXPECT_EQ(selections.Values[0].Tag, c.Expected.Tag);
        EXPECT_EQ(selections.Values[0].IntValue, c.Expected.IntValue);
        EXPECT_EQ(selections.Values[0].StrValue, c.Expected.StrValue);
        const TData current = Read(MakeEvent<&TZuWinList::CurrentItem>(&list, 0));
        EXPECT_EQ(current.StrValue, "middle");

        // A current item chosen by the program is no user selection.
        list.Control->SetCurrentIndex(2);
        testdriver::PumpUntilIdle();
        EXPECT_EQ(selections.Values.size(), 1u);
        EXPECT_EQ(Read(MakeEvent<&TZuWinList::CurrentItem>(&list, 0)).StrValue, "bottom");
        list.Control->SetVisible(false);
    }
}

} // namespace
