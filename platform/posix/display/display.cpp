#include "platform/posix/display/display.h"

namespace {

struct Choice {
    std::unique_ptr<posix::Display> Display; // null until chosen
    bool Missing = false;                    // the native display could not be opened
    std::string Reason;                      // why not
};

Choice& Current() {
    static Choice choice;
    return choice;
}

// The native display when one can be opened, else the stand-in: a headless display on which
// CreateWindowExA refuses to make windows.
void Choose(Choice& choice) {
    std::string error;
    choice.Display = posix::MakeSdlDisplay(&error);
    choice.Missing = choice.Display == nullptr;
    choice.Reason = choice.Missing ? error : std::string();
    if (choice.Missing) {
        choice.Display = posix::MakeHeadlessDisplay();
    }
}

} // namespace

namespace posix {

Display& CurrentDisplay() {
    Choice& choice = Current();
    if (choice.Display == nullptr) {
        Choose(choice);
    }
    return *choice.Display;
}

Display* ChosenDisplay() {
    return Current().Display.get();
}

void UseDisplay(std::unique_ptr<Display> display) {
    Choice& choice = Current();
    choice.Display = std::move(display);
    choice.Missing = false;
    choice.Reason.clear();
}

bool DisplayMissing(std::string* reason) {
    CurrentDisplay();
    const Choice& choice = Current();
    if (reason != nullptr) {
        *reason = choice.Reason;
    }
    return choice.Missing;
}

void PresentPainting() {
    // Before any choice nothing can have been painted.
    if (Display* display = ChosenDisplay(); display != nullptr) {
        display->Present();
    }
}

} // namespace posix
