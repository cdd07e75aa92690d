// The start-up routine followed by the message loop, scripted through the test driver (POSIX
// only).

#include "app/StartApplication.h"

#include <gtest/gtest.h>

#include "platform/testing.h"
#include "tests/app/StartApplicationTest.h"
#include "toolkit/MessageLoop.h"

namespace {

TEST_F(StartApplicationTest, LoopShowsTheMainWindowAndClosingItEndsTheLoopWithLinksOff) {
    StartApplication(*form);
    const HWND mainWindow = form->Control->Handle;
    bool visibleInLoop = false;
    testdriver::AddIdleStep([mainWindow, &visibleInLoop] {
        visibleInLoop = IsWindowVisible(mainWindow) != FALSE;
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    });

    RunMessageLoop(MainControl);

    EXPECT_TRUE(visibleInLoop);

    EXPECT_EQ(MainControl, nullptr);
    EXPECT_FALSE(testdriver::Stalled());
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_EQ(form->Control, nullptr);
    EXPECT_EQ(Dispatch, &NoDispatch);
}

} // namespace
