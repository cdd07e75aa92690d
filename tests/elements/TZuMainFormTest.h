#pragma once

// The fixture of the main form element's tests: the player's main form, the program's start,
// and a log of the show and close hook.

#include <cstdint>
#include <vector>

#include "core/TInitMan.h"
#include "elements/TZuMainForm.h"
#include "tests/elements/WindowElementTest.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

// Records the flags a hook was called with.
struct HookLog {
    std::vector<int> Flags;
    int InitCalls = 0;
    std::int32_t WidthAtInitHook = 0;
    TControl* Watched = nullptr;

    static void Flag(void* context, std::uint8_t flag) {
        static_cast<HookLog*>(context)->Flags.push_back(flag);
    }
    static void Init(void* context) {
        auto* self = static_cast<HookLog*>(context);
        ++self->InitCalls;
        self->WidthAtInitHook = self->Watched->GetWidth();
    }
};

class TZuMainFormTest : public WindowElementTest {
protected:
    // The player's main form, configured but not yet initialised.
    TZuMainForm& MakeMainForm() {
        TZuMainForm& main = Make<TZuMainForm>(nullptr);
        main.Left = 193;
        main.Top = 304;
        main.Width = 335;
        main.Height = 147;
        main.Color = 0xFF00000F;
        main.Font = MakeFontRec("MS Sans Serif", 8, 0, 0, 1);
        main.ShowCloseHook = {&HookLog::Flag, &hooks};
        return main;
    }

    // What the program's start does: show the application window, run the start-up routines,
    // make the windows and process what that queued.
    void Start() {
        MainControl->SetVisible(true);
        RunInitProcs(&initProcs);
        MainControl->MakeWindow();
        testsession::PumpUntilIdle();
    }

    HookLog hooks;
};
