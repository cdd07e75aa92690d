#include "tests/app/RunningPlayer.h"

#include "app/StartApplication.h"
#include "core/TInitMan.h"
#include "core/TZu_Event.h"
#include "elements/TZuLabel.h"
#include "elements/TZuMainForm.h"
#include "tests/support/ReadBack.h"
#include "tests/support/TestSession.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

namespace {

void ResetProgramState() {
    MainControl = nullptr;
    AppTerminated = false;
    LoopRunning = false;
    AppControlExists = false;
    CreatingControl = nullptr;
    delete InitManager;
    InitManager = new TInitMan();
}

} // namespace

void RunningPlayer::SetUp() {
    testsession::Reset();
    ResetProgramState();
    player = std::make_unique<TClassMainForm_8B54EB0>();
    StartApplication(*player->MainForm);
}

void RunningPlayer::TearDown() {
    if (MainControl != nullptr) {
        Close();
    }
    player.reset();
    delete InitManager;
    InitManager = new TInitMan();
    DispatchOff();
    testsession::Reset();
}

void RunningPlayer::Close() {
    PostMessageA(player->MainForm->Control->Handle, WM_CLOSE, 0, 0);
    RunMessageLoop(MainControl);
}

// Read through the toolkit, which reads the program's own texts back by their rule on every
// system; GetWindowTextA on Windows answers in the system's ANSI code page.
std::string RunningPlayer::Text(const TZuLabel* label) {
    return label->Control->WindowText();
}

std::string RunningPlayer::Duration() const {
    return Text(player->DurationMinutesLabel) + Text(player->DurationColonLabel) +
           Text(player->DurationSecondsLabel);
}

std::string RunningPlayer::Position() const {
    return Text(player->PositionMinutesLabel) + Text(player->PositionColonLabel) +
           Text(player->PositionSecondsLabel);
}
