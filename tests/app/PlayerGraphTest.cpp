#include "tests/app/RunningPlayer.h"

#include <gtest/gtest.h>

#include "core/TZu_Event.h"
#include "elements/TZuLabel.h"
#include "elements/TZuListBox.h"
#include "elements/TZuMainForm.h"
#include "tests/support/ReadBack.h"
#include "tests/support/TestSession.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

namespace {

using PlayerGraphTest = RunningPlayer;

TEST_F(PlayerGraphTest, StartsWithItsWindowInPlaceBothReadoutsAtZeroAndAnEmptyList) {
    testsession::PumpUntilIdle();
    const HWND mainWindow = player->MainForm->Control->Handle;
    const RECT rect = readback::WindowRect(mainWindow);
    EXPECT_EQ(rect.left, 193);
    EXPECT_EQ(rect.top, 304);
    EXPECT_EQ(rect.right - rect.left, 335);
    EXPECT_EQ(rect.bottom - rect.top, 147);
    EXPECT_EQ(readback::WindowText(mainWindow), "Kestrin Media Player");
    EXPECT_EQ(Duration(), "0:0");
    EXPECT_EQ(Position(), "0:0");
    EXPECT_EQ(Text(player->DurationCaptionLabel), "\xF2\xF0\xE0\xE5\xED\xE5:");
    EXPECT_TRUE(readback::ListItems(player->PlayList->Control->Handle).empty());
}

TEST_F(PlayerGraphTest, TimerTicksKeepThePositionReadoutAtZeroWithNothingOpen) {
    for (int tick = 0; tick < 2; ++tick) {
        testsession::LetTimePass(1100);
        testsession::PumpUntilIdle();
        EXPECT_EQ(Position(), "0:0");
    }
}

TEST_F(PlayerGraphTest, ClosingEndsTheLoopAndSwitchesLinksOff) {
    Close();
    EXPECT_EQ(MainControl, nullptr);
    EXPECT_EQ(Dispatch, &NoDispatch);
}

} // namespace
