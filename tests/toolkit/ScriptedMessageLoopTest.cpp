// The toolkit's message loop run under the test driver's scripted loops and its record of
// quit requests (POSIX only).

#include <string>
#include <vector>

#include "platform/testing.h"
#include "tests/toolkit/WindowTestSupport.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

namespace {

using testdriver::ApiFamily;

int CountQuits() {
    int quits = 0;
    for (const testdriver::ApiCall& call : testdriver::RecordedCalls()) {
        quits += call.Function == "PostQuitMessage" ? 1 : 0;
    }
    return quits;
}

using ScriptedMessageLoopTest = WindowTest;

TEST_F(ScriptedMessageLoopTest, ClosingTheMainFormEndsTheLoopAndFreesEveryControl) {
    BuildForm();
    DestroyProbe appGone;
    DestroyProbe buttonGone;
    appGone.Watch(app);
    buttonGone.Watch(first);
    const HWND appWindow = app->Handle;
    const HWND formWindow = form->Handle;
    EventProbe click;
    first->ClickEvent = click.Callback();
    testdriver::Record(ApiFamily::Messages);
    testdriver::AddIdleStep([&] { testdriver::Click(first->Handle, 5, 5); });
    testdriver::AddIdleStep([&] { PostMessageA(formWindow, WM_CLOSE, 0, 0); });

    TControl* reference = app;
    RunMessageLoop(reference);

    EXPECT_FALSE(testdriver::Stalled());
    EXPECT_EQ(click.Calls, 1);
    EXPECT_EQ(CountQuits(), 2);
    EXPECT_EQ(reference, nullptr);
    EXPECT_EQ(MainControl, nullptr);
    EXPECT_TRUE(AppTerminated);
    EXPECT_FALSE(LoopRunning);
    EXPECT_TRUE(appGone.Destroyed);
    EXPECT_TRUE(buttonGone.Destroyed);
    EXPECT_FALSE(IsWindow(appWindow));
    EXPECT_FALSE(IsWindow(formWindow));
    app = nullptr;
}

TEST_F(ScriptedMessageLoopTest, TheLoopMakesTheWindowsItRuns) {
    app = MakeAppControl("App");
    form = MakeFormControl(app, "Form");
    first = MakeButtonControl(form, "Button");
    bool madeBeforeFirstStep = false;
    testdriver::AddIdleStep([&] {
        madeBeforeFirstStep = app->Handle != nullptr && IsWindow(first->Handle);
        PostMessageA(form->Handle, WM_CLOSE, 0, 0);
    });
    TControl* reference = app;
    RunMessageLoop(reference);
    EXPECT_TRUE(madeBeforeFirstStep);
    EXPECT_EQ(MainControl, nullptr);
    app = nullptr;
}

TEST_F(ScriptedMessageLoopTest, ARefusedCloseKeepsTheLoopRunning) {
    BuildForm();
    int asked = 0;
    struct Refuser {
        static void Ask(void* context, TObj*, bool& allow) {
            int& count = *static_cast<int*>(context);
            ++count;
            allow = count > 1;
        }
    };
    int stepsRun = 0;
    testdriver::AddIdleStep([&] {
        ++stepsRun;
        form->CloseRequest = {&Refuser::Ask, &asked};
        SendMessageA(form->Handle, WM_CLOSE, 0, 0);
    });
    testdriver::AddIdleStep([&] {
        ++stepsRun;
        SendMessageA(form->Handle, WM_CLOSE, 0, 0);
    });
    TControl* reference = app;
    RunMessageLoop(reference);
    EXPECT_EQ(stepsRun, 2);
    EXPECT_EQ(asked, 2) << "a refusal while the loop runs keeps the request";
    EXPECT_FALSE(testdriver::Stalled());
    app = nullptr;
}

} // namespace
