#include "tests/toolkit/WindowTestSupport.h"

#include <algorithm>

#include "toolkit/Navigation.h"
#include "toolkit/WindowProc.h"

void EventProbe::Hit(void* context, TObj* sender) {
    auto* probe = static_cast<EventProbe*>(context);
    ++probe->Calls;
    probe->LastSender = sender;
}

void DestroyProbe::Watch(TControl* control) {
    control->DestroyNotify = TCallback{&DestroyProbe::Hit, this};
}

void DestroyProbe::Hit(void* context, TObj*) {
    static_cast<DestroyProbe*>(context)->Destroyed = true;
}

namespace {

DefaultRecorder* activeRecorder = nullptr;

} // namespace

DefaultRecorder::DefaultRecorder(TControl* control)
    : control(control), original(control->PrevWindowProc) {
    activeRecorder = this;
    control->PrevWindowProc = &DefaultRecorder::Procedure;
}

DefaultRecorder::~DefaultRecorder() {
    control->PrevWindowProc = original;
    if (activeRecorder == this) {
        activeRecorder = nullptr;
    }
}

bool DefaultRecorder::Saw(UINT msg) const {
    return std::any_of(seen.begin(), seen.end(), [&](const auto& m) { return m.first == msg; });
}

bool DefaultRecorder::Saw(UINT msg, WPARAM wParam) const {
    return std::find(seen.begin(), seen.end(), std::make_pair(msg, wParam)) != seen.end();
}

LRESULT CALLBACK DefaultRecorder::Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    DefaultRecorder* recorder = activeRecorder;
    if (recorder == nullptr) {
        return DefWindowProcA(window, msg, wParam, lParam);
    }
    recorder->seen.emplace_back(msg, wParam);
    if (recorder->original != nullptr) {
        return CallWindowProcA(recorder->original, window, msg, wParam, lParam);
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

void ResetDispatchState() {
    MainControl = nullptr;
    AppTerminated = false;
    LoopRunning = false;
    AppControlExists = false;
    CreatingControl = nullptr;
}

void WindowTest::SetUp() {
    testsession::Reset();
    ResetDispatchState();
}

void WindowTest::TearDown() {
    MainControl = nullptr;
    Free(app);
    ResetDispatchState();
    testsession::Reset();
}

void WindowTest::BuildForm() {
    app = MakeAppControl("App");
    MainControl = app;
    form = MakeFormControl(app, "Form");
    form->NavigationHook = HandleNavigationKey;
    form->SetBoundsRect({100, 100, 500, 400});
    first = MakeButtonControl(form, "First");
    first->SetBoundsRect({10, 10, 90, 32});
    second = MakeButtonControl(form, "Second");
    second->SetBoundsRect({100, 10, 180, 32});
    list = MakeListBoxControl(form, 0x12);
    list->SetBoundsRect({10, 50, 190, 150});
    label = MakeLabelControl(form, "Label");
    label->SetBoundsRect({200, 10, 300, 32});
    app->MakeWindow();
    for (const char* item : {"one", "two", "three"}) {
        list->AddItem(item);
    }
    testsession::PumpUntilIdle();
}
