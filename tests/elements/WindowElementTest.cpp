#include "tests/elements/WindowElementTest.h"

#include "toolkit/ControlTools.h"
#include "toolkit/TGraphicTool.h"
#include "toolkit/TNyToolTipManager.h"
#include "toolkit/WindowProc.h"

namespace {

void ResetToolkitState() {
    MainControl = nullptr;
    AppTerminated = false;
    LoopRunning = false;
    AppControlExists = false;
    CreatingControl = nullptr;
}

} // namespace

void WindowElementTest::SetUp() {
    testsession::Reset();
    ResetToolkitState();
    savedInitManager = InitManager;
    initProcs = TInitMan{};
    InitManager = &initProcs;
    LinkedElementTest::SetUp();
}

void WindowElementTest::TearDown() {
    LinkedElementTest::TearDown();
    elements.clear();
    TControl* app = MainControl;
    MainControl = nullptr;
    Free(app);
    FreeToolTipManager();
    ResetToolkitState();
    InitManager = savedInitManager;
    testsession::Reset();
}

void WindowElementTest::MakeForm() {
    TControl* app = MakeAppControl("App");
    MainControl = app;
    form = MakeFormControl(app, "Form");
    form->SetBoundsRect({100, 100, 500, 400});
    app->MakeWindow();
}

void WindowElementTest::ShowWindows() {
    if (form != nullptr) {
        form->MakeWindow();
    }
    testsession::PumpUntilIdle();
}

LOGFONTA FontOf(TControl* control) {
    return ControlFont(control)->FontSettings();
}
