#include "platform/posix/display.h"

namespace {

std::unique_ptr<posix::Display>& Current() {
    static std::unique_ptr<posix::Display> display = posix::MakeHeadlessDisplay();
    return display;
}

} // namespace

namespace posix {

Display& CurrentDisplay() {
    return *Current();
}

void UseDisplay(std::unique_ptr<Display> display) {
    if (display) {
        Current() = std::move(display);
    }
}

} // namespace posix
