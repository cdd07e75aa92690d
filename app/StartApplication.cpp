#include "app/StartApplication.h"

#include "core/TInitMan.h"
#include "core/TZu_Event.h"
#include "elements/TZuMainForm.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

void StartApplication(TZuMainForm& mainForm) {
    if (MainControl != nullptr) {
        MainControl->SetVisible(mainForm.Visible);
    }
    DispatchOn();
    RunInitProcs(InitManager);
    delete InitManager;
    InitManager = nullptr;
}
