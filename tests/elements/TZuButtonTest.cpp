#include "elements/TZuButton.h"

#include <gtest/gtest.h>

#include "tests/elements/TZuButtonTest.h"
#include "toolkit/TControl.h"

namespace {

TEST_F(TZuButtonTest, ShowsPushUntilACaptionIsSet) {
    TZuButton& button = MakeButton();
    button.Init();
    ShowWindows();
    EXPECT_EQ(readback::WindowText(button.Control->Handle), "Push");

    button.SetCaption("Clear list");
    EXPECT_EQ(readback::WindowText(button.Control->Handle), "Clear list");
}

} // namespace
