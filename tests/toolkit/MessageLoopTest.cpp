#include <string>
#include <vector>

#include "tests/toolkit/WindowTestSupport.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

namespace {

std::vector<UINT> seen;

bool NoteMessage(void*, TObj*, WindowMessage& message, LRESULT&) {
    if (message.Msg >= WM_USER || message.Msg == WM_CLOSE) {
        seen.push_back(message.Msg);
    }
    return false;
}

class MessageLoopTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        seen.clear();
    }
};

TEST_F(MessageLoopTest, ProcessOneMessageTakesOneMessageAndStopsAtQuit) {
    BuildForm();
    form->MessageEvent = {&NoteMessage, nullptr};
    EXPECT_FALSE(ProcessOneMessage(app)) << "nothing queued";

    PostMessageA(form->Handle, WM_USER + 1, 0, 0);
    PostMessageA(form->Handle, WM_USER + 2, 0, 0);
    EXPECT_TRUE(ProcessOneMessage(app));
    EXPECT_EQ(seen, std::vector<UINT>{WM_USER + 1});

    PostMessageA(form->Handle, WM_NULL, 0, 0);
    PumpMessages(app);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    EXPECT_FALSE(ProcessOneMessage(app)) << "WM_NULL ended the pump; the queue is empty";

    PostQuitMessage(3);
    EXPECT_TRUE(ProcessOneMessage(app));
    EXPECT_TRUE(AppTerminated);
}

TEST_F(MessageLoopTest, ShuttingDownFromElsewhereRunsPendingMessagesThenClosesTheApplication) {
    BuildForm();
    app->MessageEvent = {&NoteMessage, nullptr};
    form->MessageEvent = {&NoteMessage, nullptr};
    DestroyProbe appGone;
    appGone.Watch(app);
    PostMessageA(form->Handle, WM_USER + 5, 0, 0);
    LoopRunning = true;

    TControl* reference = app;
    ShutdownMainControl(reference);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 5, WM_CLOSE}));
    EXPECT_EQ(reference, nullptr);
    EXPECT_EQ(MainControl, nullptr);
    EXPECT_FALSE(LoopRunning);
    EXPECT_TRUE(AppTerminated);
    EXPECT_TRUE(appGone.Destroyed);
    app = nullptr;

    // Nothing left to shut down.
    ShutdownMainControl(reference);
    EXPECT_EQ(reference, nullptr);
}

} // namespace
