#include "app/StartApplication.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/TInitMan.h"
#include "core/TZu_Event.h"
#include "elements/TZuMainForm.h"
#include "platform/testing.h"
#include "tests/elements/LinkProbe.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

namespace {

// What a start-up routine saw when it ran.
struct RoutineProbe {
    int Runs = 0;
    bool LinksOn = false;

    static void Run(void* object) {
        auto* probe = static_cast<RoutineProbe*>(object);
        ++probe->Runs;
        probe->LinksOn = Dispatch == LiveDispatch;
    }
};

void ResetToolkitState() {
    MainControl = nullptr;
    AppTerminated = false;
    LoopRunning = false;
    AppControlExists = false;
    CreatingControl = nullptr;
}

// The application as the main routine builds it: a main form made while links are off, with
// a start-up routine list of its own.
class StartApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        ResetToolkitState();
        DispatchOff();
        delete InitManager;
        InitManager = new TInitMan();
        form = std::make_unique<TZuMainForm>(nullptr);
        form->OnCreate = created.Point();
        form->Init();
        AddInitProc(InitManager, {&RoutineProbe::Run, &routine});
    }
    void TearDown() override {
        DispatchOff();
        form.reset();
        TControl* app = MainControl;
        MainControl = nullptr;
        Free(app);
        ResetToolkitState();
        delete InitManager;
        InitManager = new TInitMan();
        testdriver::Reset();
    }

    std::unique_ptr<TZuMainForm> form;
    Probe created;
    RoutineProbe routine;
};

TEST_F(StartApplicationTest, SwitchesLinksOnRunsTheRoutinesOnceAndDiscardsTheirList) {
    // Nothing reaches a receiver while the graph is built.
    FireNone(form->OnCreate);
    EXPECT_TRUE(created.Values.empty());

    StartApplication(*form);

    EXPECT_EQ(routine.Runs, 1);
    EXPECT_TRUE(routine.LinksOn);
    // The main form's own routine ran first and fired OnCreate through a live link.
    EXPECT_EQ(created.Values.size(), 1u);
    EXPECT_EQ(InitManager, nullptr);
    EXPECT_EQ(Dispatch, &LiveDispatch);
}

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
