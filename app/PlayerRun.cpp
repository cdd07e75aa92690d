#include "app/PlayerRun.h"

#include <memory>

#include "app/StartApplication.h"
#include "app/TClassMainForm_8B54EB0.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/WindowProc.h"

int RunPlayer() {
    auto player = std::make_unique<TClassMainForm_8B54EB0>();
    StartApplication(*player->MainForm);
    RunMessageLoop(MainControl);
    player.reset();
    return 0;
}
