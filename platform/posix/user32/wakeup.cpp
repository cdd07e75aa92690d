#include "platform/posix/user32/wakeup.h"

#include "platform/posix/kernel32/clock.h"
#include "platform/posix/user32/timers.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace {

int wakeFd = -1;
volatile std::sig_atomic_t endSession = 0; // 0, or the signal that asked for it
bool handlersInstalled = false;
std::atomic<bool> wokenUp{false};
std::vector<void (*)()> wakeHandlers;
std::vector<std::optional<std::uint64_t> (*)()> deadlineSources;

void OnEndSessionSignal(int signal) {
    endSession = signal;
    posix::WakeMessageLoop();
}

} // namespace

namespace posix {

int WakeFd() {
    if (wakeFd < 0) {
        wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    }
    return wakeFd;
}

void WakeMessageLoop() {
    wokenUp.store(true);
    const int fd = wakeFd;
    if (fd >= 0) {
        const std::uint64_t one = 1;
        // Nothing to do when the counter is full: a wake-up is pending anyway.
        [[maybe_unused]] const ssize_t written = write(fd, &one, sizeof one);
    }
}

void DrainWakeups() {
    std::uint64_t count = 0;
    if (wakeFd >= 0) {
        [[maybe_unused]] const ssize_t read = ::read(wakeFd, &count, sizeof count);
    }
}

void AddWakeHandler(void (*handler)()) {
    WakeFd();
    if (std::find(wakeHandlers.begin(), wakeHandlers.end(), handler) == wakeHandlers.end()) {
        wakeHandlers.push_back(handler);
    }
}

void RunWakeHandlers(bool force) {
    if (!wokenUp.exchange(false) && !force) {
        return;
    }
    DrainWakeups();
    // A handler may register another one.
    for (std::size_t i = 0; i < wakeHandlers.size(); ++i) {
        wakeHandlers[i]();
    }
}

void AddDeadlineSource(std::optional<std::uint64_t> (*source)()) {
    if (std::find(deadlineSources.begin(), deadlineSources.end(), source) ==
        deadlineSources.end()) {
        deadlineSources.push_back(source);
    }
}

std::optional<std::uint64_t> NextDeadline() {
    std::optional<std::uint64_t> earliest = NextTimerDue();
    const std::uint64_t now = NowMs();
    for (const auto source : deadlineSources) {
        const std::optional<std::uint64_t> moment = source();
        // A moment already reached is handled by the wake handlers, not waited for.
        if (moment && *moment > now && (!earliest || *moment < *earliest)) {
            earliest = moment;
        }
    }
    return earliest;
}

void InstallEndSessionHandlers() {
    if (handlersInstalled) {
        return;
    }
    handlersInstalled = true;
    WakeFd();
    struct sigaction action {};
    action.sa_handler = OnEndSessionSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

void RequestLogoff() {
    OnEndSessionSignal(SIGHUP);
}

bool EndSessionPending() {
    return endSession != 0;
}

bool TakeEndSession(LPARAM* lParam) {
    const int signal = endSession;
    if (signal == 0) {
        return false;
    }
    endSession = 0;
    // A hang-up means the user's session is closing; a termination request is a shutdown.
    *lParam = signal == SIGHUP ? ENDSESSION_LOGOFF : 0;
    return true;
}

} // namespace posix
