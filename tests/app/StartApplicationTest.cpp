#include "app/StartApplication.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/TInitMan.h"
#include "core/TZu_Event.h"
#include "elements/TZuMainForm.h"
#include "tests/app/StartApplicationTest.h"
#include "tests/elements/LinkProbe.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

namespace {

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

} // namespace
