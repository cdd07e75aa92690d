#pragma once

// The fixture of the start-up tests: the application as the main routine builds it, a main form
// made while links are off, with a start-up routine list of its own and a probe routine in it.

#include <memory>

#include "core/TInitMan.h"
#include "core/TZu_Event.h"
#include "elements/TZuMainForm.h"
#include "tests/elements/LinkProbe.h"
#include "tests/support/TestSession.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

#include <gtest/gtest.h>

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

inline void ResetToolkitState() {
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
        testsession::Reset();
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
        testsession::Reset();
    }

    std::unique_ptr<TZuMainForm> form;
    Probe created;
    RoutineProbe routine;
};
