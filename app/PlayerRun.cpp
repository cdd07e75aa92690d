#include "app/PlayerRun.h"

#include <memory>

#include "app/StartApplication.h"
#include "app/TClassMainForm_8B54EB0.h"
#include "elements/TZuMainForm.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

int RunPlayer() {
    auto player = std::make_unique<TClassMainForm_8B54EB0>();
    // Building the player made its window; without it the loop would wait for ever.
    if (player->MainForm->Control == nullptr || player->MainForm->Control->GetHandle() == nullptr) {
        return 1;
    }
    StartApplication(*player->MainForm);
    RunMessageLoop(MainControl);
    player.reset();
    return 0;
}
