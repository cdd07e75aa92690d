// The headless display: a 1024 by 768 screen that shows nothing and has no native input.

#include "platform/posix/display/display.h"

#include <poll.h>

namespace {

class HeadlessDisplay final : public posix::Display {
public:
    int ScreenWidth() const override { return 1024; }
    int ScreenHeight() const override { return 768; }
    void TopLevelChanged(const posix::TopLevelState&) override {}
    void TopLevelDestroyed(HWND) override {}
    void DispatchNativeEvents() override {}

    void Wait(int wakeFd, int timeoutMs) override {
        pollfd wake{wakeFd, POLLIN, 0};
        // A signal ends the wait early; the caller looks again at what is due.
        poll(&wake, wakeFd >= 0 ? 1 : 0, timeoutMs);
    }
};

} // namespace

namespace posix {

std::unique_ptr<Display> MakeHeadlessDisplay() {
    return std::make_unique<HeadlessDisplay>();
}

} // namespace posix
