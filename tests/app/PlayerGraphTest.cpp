#include "tests/app/RunningPlayer.h"

#include <gtest/gtest.h>

#include "core/TZu_Event.h"
#include "elements/TZuLabel.h"
#include "elements/TZuListBox.h"
#include "elements/TZuMainForm.h"
#include "platform/testing.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

namespace {

using PlayerGraphTest = RunningPlayer;

TEST_F(PlayerGraphTest, StartsWithItsWindowInPlaceBothReadoutsAtZeroAndAnEmptyList) {
    testdriver::PumpUntilIdle();
    const HWND mainWindow = player->MainForm->Control->Handle;
    const RECT rect = testdriver::WindowRect(mainWindow);
    EXPECT_EQ(rect.left, 193);
    EXPECT_EQ(rect.top, 304);
    EXPECT_EQ(rect.right - rect.left, 335);
    EXPECT_EQ(rect.bottom - rect.top, 147);
    EXPECT_EQ(testdriver::WindowText(mainWindow), "Kestrin Media Player");
    EXPECT_EQ(Duration(), "0:0");
    EXPECT_EQ(Position(), "0:0");
    EXPECT_EQ(Text(player->DurationCaptionLabel), "\xF2\xF0\xE0\xE5\xED\xE5:");
    EXPECT_TRUE(testdriver::ListItems(player->PlayList->Control->Handle).empty());
}

TEST_F(PlayerGraphTest, TimerTicksKeepThePositionReadoutAtZeroWithNothingOpen) {
    testdriver::AdvanceClock(3000);
    EXPECT_EQ(Position(), "0:0");
}

TEST_F(PlayerGraphTest, ClosingEndsTheLoopAndSwitchesLinksOff) {
    Close();
    EXPECT_EQ(MainControl, nullptr);
    EXPECT_EQ(Dispatch, &NoDispatch);
}

} // namespace
