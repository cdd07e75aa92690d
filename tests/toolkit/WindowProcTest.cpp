#include <string>
#include <vector>

#include "tests/toolkit/WindowTestSupport.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

namespace {

// ---- Binding windows to controls ----

// Registers a class served by the toolkit's window procedure and makes a top-level window of
// it, bound to the given control (or to none).
HWND MakeToolkitWindow(TControl* control) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ClassWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "obj_Probe";
    RegisterClassA(&windowClass);
    CreatingControl = control;
    return CreateWindowExA(0, "obj_Probe", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

std::vector<UINT> seenMessages;
std::vector<HWND> seenWindows;

bool RecordMessage(void*, TObj*, WindowMessage& message, LRESULT&) {
    seenMessages.push_back(message.Msg);
    seenWindows.push_back(message.Window);
    return false;
}

bool Seen(UINT msg, HWND window) {
    for (std::size_t i = 0; i < seenMessages.size(); ++i) {
        if (seenMessages[i] == msg && seenWindows[i] == window) {
            return true;
        }
    }
    return false;
}

class WindowProcTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        seenMessages.clear();
        seenWindows.clear();
    }
};

TEST_F(WindowProcTest, TheFirstMessageOfANewWindowBindsItToTheCreatingControl) {
    TControl* control = CreateControl(nullptr);
    control->MessageEvent = {&RecordMessage, nullptr};
    HWND window = MakeToolkitWindow(control);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(control->Handle, window);
    EXPECT_EQ(GetPropA(window, SelfProperty), control);
    EXPECT_EQ(CreatingControl, nullptr);
    ASSERT_FALSE(seenMessages.empty());
    EXPECT_EQ(seenWindows.front(), window) << "the very first message reached the control";
    Free(control);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowProcTest, AWindowWithoutControlIsServedThroughMainControlButKeepsItsOwnWindow) {
    app = MakeAppControl("App");
    MainControl = app;
    app->MakeWindow();
    app->MessageEvent = {&RecordMessage, nullptr};
    HWND stray = MakeToolkitWindow(nullptr);
    ASSERT_NE(stray, nullptr);
    EXPECT_EQ(GetPropA(stray, SelfProperty), nullptr);

    SendMessageA(stray, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("changed"));
    EXPECT_EQ(readback::WindowText(stray), "changed") << "default processing of the stray";
    EXPECT_EQ(readback::WindowText(app->Handle), "App");
    EXPECT_TRUE(Seen(WM_SETTEXT, stray)) << "the application control saw the stray's message";

    // Closing the stray must neither end the program nor unbind the application window.
    SendMessageA(stray, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(stray));
    EXPECT_EQ(GetPropA(app->Handle, SelfProperty), app);
    EXPECT_EQ(testsession::PumpUntilIdle(), std::nullopt) << "no quit was asked for";
}

TEST_F(WindowProcTest, AWindowWithoutControlOrMainControlGetsDefaultProcessing) {
    HWND stray = MakeToolkitWindow(nullptr);
    ASSERT_NE(stray, nullptr);
    SendMessageA(stray, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("plain"));
    EXPECT_EQ(readback::WindowText(stray), "plain");
    DestroyWindow(stray);
}

// ---- The order of hooks, handlers and rules ----

std::string trace;
std::string handler; // the step that claims the message

// Only WM_SETTEXT is traced and claimed, so reading the text back is left alone.
bool Step(const char* name, const WindowMessage& message, LRESULT& result) {
    if (message.Msg != WM_SETTEXT) {
        return false;
    }
    trace += trace.empty() ? name : std::string(",") + name;
    if (handler == name) {
        result = 77;
        return true;
    }
    return false;
}

bool MainHook(void*, TObj*, WindowMessage& message, LRESULT& result) {
    return Step("main", message, result);
}
bool OwnHook(void*, TObj*, WindowMessage& message, LRESULT& result) {
    return Step("own", message, result);
}
bool FirstHandler(TControl*, WindowMessage& message, LRESULT& result) {
    return Step("first", message, result);
}
bool LastHandler(TControl*, WindowMessage& message, LRESULT& result) {
    return Step("last", message, result);
}

TEST_F(WindowProcTest, HooksHandlersAndRulesSeeAMessageInTheirOrderUntilOneHandlesIt) {
    struct Case {
        const char* handledBy;
        bool loopRunning;
        const char* expectedTrace;
        LRESULT expectedResult;
        bool reachesDefault;
    };
    const Case cases[] = {
        {"", true, "main,own,last,first", TRUE, true},
        {"main", true, "main", 77, false},
        {"own", true, "main,own", 77, false},
        {"last", true, "main,own,last", 77, false},
        {"first", true, "main,own,last,first", 77, false},
        {"", false, "own,last,first", TRUE, true},
    };
    app = MakeAppControl("App");
    MainControl = app;
    app->MessageEvent = {&MainHook, nullptr};
    form = MakeFormControl(app, "Form");
    form->MessageEvent = {&OwnHook, nullptr};
    AttachHandler(form, &FirstHandler);
    AttachHandler(form, &LastHandler);
    AttachHandler(form, &FirstHandler);
    ASSERT_NE(form->GetHandle(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("handled by '") + c.handledBy + "'");
        LoopRunning = c.loopRunning;
        handler.clear();
        SetWindowTextA(form->Handle, "before");
        trace.clear();
        handler = c.handledBy;
        const LRESULT result =
            SendMessageA(form->Handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("after"));
        EXPECT_EQ(trace, c.expectedTrace);
        EXPECT_EQ(result, c.expectedResult);
        EXPECT_EQ(readback::WindowText(form->Handle), c.reachesDefault ? "after" : "before");
    }
}

TEST_F(WindowProcTest, AttachedHandlersStopRunningOnceTheApplicationIsTerminated) {
    form = MakeFormControl(nullptr, "Form");
    AttachHandler(form, &LastHandler);
    ASSERT_NE(form->GetHandle(), nullptr);
    handler = "last";
    trace.clear();
    AppTerminated = true;
    SendMessageA(form->Handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("after"));
    EXPECT_EQ(trace, "");
    EXPECT_EQ(readback::WindowText(form->Handle), "after");
    AppTerminated = false;
    Free(form);
    form = nullptr;
}

// ---- A control freed during its own message ----

DestroyProbe* freeingProbe = nullptr;
bool aliveAfterFree = false;
int handlersAfterFree = 0;

bool FreeingHandler(TControl* control, WindowMessage& message, LRESULT&) {
    if (message.Msg == WM_USER) {
        Free(control);
        aliveAfterFree = !freeingProbe->Destroyed;
    }
    return false;
}

bool CountingHandler(TControl*, WindowMessage& message, LRESULT&) {
    if (message.Msg == WM_USER && aliveAfterFree) {
        ++handlersAfterFree;
    }
    return false;
}

TEST_F(WindowProcTest, AControlFreedByAHandlerLivesUntilTheWalkEndsAndTheMessageEndsThere) {
    DestroyProbe probe;
    freeingProbe = &probe;
    aliveAfterFree = false;
    handlersAfterFree = 0;
    form = MakeFormControl(nullptr, "Form");
    probe.Watch(form);
    AttachHandler(form, &CountingHandler);
    AttachHandler(form, &FreeingHandler);
    HWND window = form->GetHandle();
    ASSERT_NE(window, nullptr);

    SendMessageA(window, WM_USER, 0, 0);
    EXPECT_TRUE(aliveAfterFree);
    EXPECT_EQ(handlersAfterFree, 1) << "the walk goes on with the held control";
    EXPECT_TRUE(probe.Destroyed);
    EXPECT_FALSE(IsWindow(window));
    form = nullptr;
}

} // namespace
