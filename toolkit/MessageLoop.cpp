#include "toolkit/MessageLoop.h"

#include "platform/win32.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

void RunMessageLoop(TControl*& mainControl) {
    LoopRunning = true;
    MainControl = mainControl;
    if (MainControl != nullptr) {
        MainControl->MakeWindow();
    }
    while (!AppTerminated) {
        WaitMessage();
        PumpMessages(MainControl);
    }
    if (mainControl != nullptr) {
        ShutdownMainControl(mainControl);
    }
}

void PumpMessages(TControl* control) {
    while (ProcessOneMessage(control)) {
    }
}

bool ProcessOneMessage(TControl*) {
    MSG msg{};
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    }
    if (msg.message == WM_QUIT) {
        AppTerminated = true;
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return msg.message != 0;
}

void ShutdownMainControl(TControl*& mainControl) {
    const bool wasTerminated = AppTerminated;
    AppTerminated = true;
    LoopRunning = false;
    TControl* control = MainControl;
    MainControl = nullptr;
    if (control == nullptr) {
        return;
    }
    AddHold(control);
    if (!wasTerminated) {
        // Shut down from elsewhere: let pending messages run, then close the application window.
        PumpMessages(control);
        SendToControl(control, WM_CLOSE, 0, 0);
    }
    mainControl = nullptr;
    Free(control);
    DropHold(control);
}
