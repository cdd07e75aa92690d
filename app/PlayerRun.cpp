#include "app/PlayerRun.h"

#include <cstdio>
#include <memory>

#include "app/DesktopBus.h"
#include "app/FilesFromOutside.h"
#include "app/StartApplication.h"
#include "app/TClassMainForm_8B54EB0.h"
#include "elements/TZuMainForm.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

namespace {

void ReportSkipped(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        std::fprintf(stderr, "kestrin: skipped \"%s\": neither a file it plays nor a playlist\n",
                     argument.c_str());
    }
}

} // namespace

int RunPlayer(const std::vector<std::string>& arguments) {
    std::unique_ptr<DesktopBus> bus = DesktopBus::Connect();
    if (std::vector<std::string> rejected; bus && bus->HandOver(arguments, rejected)) {
        ReportSkipped(rejected);
        return 0;
    }
    auto player = std::make_unique<TClassMainForm_8B54EB0>();
    // Building the player made its window; without it the loop would wait for ever.
    if (player->MainForm->Control == nullptr || player->MainForm->Control->GetHandle() == nullptr) {
        return 1;
    }
    StartApplication(*player->MainForm);
    ReportSkipped(OpenArguments(*player, arguments));
    AcceptDroppedFiles(*player);
    if (bus) {
        bus->Publish(*player);
    }
    RunMessageLoop(MainControl);
    bus.reset();
    player.reset();
    return 0;
}
