#include "tests/toolkit/ControlTestSupport.h"

#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

namespace {

void ResetToolkitState() {
    MainControl = nullptr;
    AppTerminated = false;
    LoopRunning = false;
    AppControlExists = false;
    CreatingControl = nullptr;
    NextControlId = 0x8000;
    AfterCreateHook = nullptr;
    InvalidateHook = nullptr;
    RealignHook = nullptr;
}

} // namespace

void ControlTest::SetUp() {
    testsession::Reset();
    ResetToolkitState();
}

void ControlTest::TearDown() {
    for (auto it = roots.rbegin(); it != roots.rend(); ++it) {
        Free(*it);
    }
    TControl* main = MainControl;
    MainControl = nullptr;
    Free(main != nullptr ? main : app);
    ResetToolkitState();
    testsession::Reset();
}

void ControlTest::MakeAppAndForm() {
    app = MakeAppControl("App");
    MainControl = app;
    form = MakeFormControl(app, "Form");
    form->SetVisible(true);
    ASSERT_NE(form->GetHandle(), nullptr);
}

void DestructionLog::Watch(TControl* control) {
    control->DestroyNotify = {[](void* context, TObj* sender) {
                                  auto* log = static_cast<DestructionLog*>(context);
                                  log->Order.push_back(static_cast<TControl*>(sender));
                                  log->WindowAlive.push_back(IsWindow(log->Watched) != FALSE);
                              },
                              this};
}

void MessageCounter::Attach(TControl* control) {
    control->MessageEvent = {[](void* context, TObj*, WindowMessage& message, LRESULT&) {
                                 auto* counter = static_cast<MessageCounter*>(context);
                                 if (message.Msg == counter->Msg) {
                                     ++counter->Count;
                                 }
                                 return false;
                             },
                             this};
}

// Asked for the size of its description only, any live object answers a size.
bool Exists(HGDIOBJ handle) {
    return GetObjectA(handle, 0, nullptr) != 0;
}

COLORREF BrushColor(HBRUSH brush) {
    LOGBRUSH record{};
    EXPECT_NE(GetObjectA(brush, sizeof record, &record), 0);
    return record.lbColor;
}
