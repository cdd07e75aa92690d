#include "app/TClassMainForm_8B54EB0.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/StartApplication.h"
#include "core/TInitMan.h"
#include "core/TZu_Event.h"
#include "elements/TZuLabel.h"
#include "elements/TZuListBox.h"
#include "elements/TZuMainForm.h"
#include "platform/testing.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

namespace {

// The whole player, built and started as the main routine does, on the test driver.
class PlayerGraphTest : public ::testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        MainControl = nullptr;
        AppTerminated = false;
        LoopRunning = false;
        AppControlExists = false;
        CreatingControl = nullptr;
        delete InitManager;
        InitManager = new TInitMan();
        player = std::make_unique<TClassMainForm_8B54EB0>();
        StartApplication(*player->MainForm);
    }
    void TearDown() override {
        if (MainControl != nullptr) {
            Close();
        }
        player.reset();
        delete InitManager;
        InitManager = new TInitMan();
        DispatchOff();
        testdriver::Reset();
    }

    // Runs the message loop until the main window has accepted a close request.
    void Close() {
        const HWND mainWindow = player->MainForm->Control->Handle;
        testdriver::AddIdleStep([mainWindow] { PostMessageA(mainWindow, WM_CLOSE, 0, 0); });
        RunMessageLoop(MainControl);
    }

    static std::string Text(const TZuLabel* label) {
        return testdriver::WindowText(label->Control->Handle);
    }
    std::string Readout(const TZuLabel* minutes, const TZuLabel* colon,
                        const TZuLabel* seconds) const {
        return Text(minutes) + Text(colon) + Text(seconds);
    }
    std::unique_ptr<TClassMainForm_8B54EB0> player;
};

TEST_F(PlayerGraphTest, StartsWithItsWindowInPlaceBothReadoutsAtZeroAndAnEmptyList) {
    testdriver::PumpUntilIdle();
    const HWND mainWindow = player->MainForm->Control->Handle;
    const RECT rect = testdriver::WindowRect(mainWindow);
    EXPECT_EQ(rect.left, 193);
    EXPECT_EQ(rect.top, 304);
    EXPECT_EQ(rect.right - rect.left, 335);
    EXPECT_EQ(rect.bottom - rect.top, 147);
    EXPECT_EQ(testdriver::WindowText(mainWindow), "Kestrin Media Player");
    EXPECT_EQ(Readout(player->DurationMinutesLabel, player->DurationColonLabel,
                      player->DurationSecondsLabel),
              "0:0");
    EXPECT_EQ(Readout(player->PositionMinutesLabel, player->PositionColonLabel,
                      player->PositionSecondsLabel),
              "0:0");
    EXPECT_EQ(Text(player->DurationCaptionLabel), "\xF2\xF0\xE0\xE5\xED\xE5:");
    EXPECT_TRUE(testdriver::ListItems(player->PlayList->Control->Handle).empty());
}

TEST_F(PlayerGraphTest, TimerTicksKeepThePositionReadoutAtZeroWithNothingOpen) {
    testdriver::AdvanceClock(3000);
    EXPECT_EQ(Readout(player->PositionMinutesLabel, player->PositionColonLabel,
                      player->PositionSecondsLabel),
              "0:0");
}

TEST_F(PlayerGraphTest, ClosingEndsTheLoopAndSwitchesLinksOff) {
    Close();
    EXPECT_EQ(MainControl, nullptr);
    EXPECT_EQ(Dispatch, &NoDispatch);
}

} // namespace
