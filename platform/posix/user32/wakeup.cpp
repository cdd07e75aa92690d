#include "platform/posix/user32/wakeup.h"

#include "platform/descriptor_wait.h"

#include "platform/posix/kernel32/clock.h"
#include "platform/posix/user32/timers.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <sys/epoll.h>
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

// The program's own descriptors that join the wait, gathered with the wake-up descriptor in
// one epoll set; it exists only once something is watched.
struct WatchedDescriptor {
    int Fd;
    posix::DescriptorHandler Handler;
    void* Context;
};
static_assert(POLLIN == EPOLLIN && POLLOUT == EPOLLOUT);
int epollFd = -1;
std::vector<WatchedDescriptor> watched;

bool EnsureEpollSet() {
    if (epollFd >= 0) {
        return true;
    }
    epollFd = epoll_create1(EPOLL_CLOEXEC);
    epoll_event wake{};
    wake.events = EPOLLIN;
    wake.data.fd = posix::WakeFd();
    if (epollFd >= 0 && epoll_ctl(epollFd, EPOLL_CTL_ADD, wake.data.fd, &wake) != 0) {
        close(epollFd);
        epollFd = -1;
    }
    return epollFd >= 0;
}

std::vector<WatchedDescriptor>::iterator FindWatched(int fd) {
    return std::find_if(watched.begin(), watched.end(),
                        [fd](const WatchedDescriptor& each) { return each.Fd == fd; });
}

// Runs the handlers of the watched descriptors that are ready, without waiting.
void RunDescriptorHandlers() {
    if (watched.empty()) {
        return;
    }
    constexpr int MostEvents = 8;
    epoll_event ready[MostEvents];
    const int count = epoll_wait(epollFd, ready, MostEvents, 0);
    for (int i = 0; i < count; ++i) {
        // A handler may stop watching, so each is looked up afresh.
        const auto found = FindWatched(ready[i].data.fd);
        if (found != watched.end()) {
            const WatchedDescriptor each = *found;
            each.Handler(each.Context);
        }
    }
}

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

int WaitFd() {
    return watched.empty() ? WakeFd() : epollFd;
}

void RunWakeHandlers(bool force) {
    RunDescriptorHandlers();
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

bool WatchDescriptor(int fd, std::uint32_t pollEvents, DescriptorHandler handler, void* context) {
    if (!EnsureEpollSet()) {
        return false;
    }
    // The poll and epoll bits for reading and writing are the same.
    epoll_event event{};
    event.events = pollEvents;
    event.data.fd = fd;
    const auto found = FindWatched(fd);
    const int operation = found == watched.end() ? EPOLL_CTL_ADD : EPOLL_CTL_MOD;
    if (epoll_ctl(epollFd, operation, fd, &event) != 0) {
        return false;
    }
    if (found == watched.end()) {
        watched.push_back({fd, handler, context});
    } else {
        *found = {fd, handler, context};
    }
    return true;
}

void UnwatchDescriptor(int fd) {
    const auto found = FindWatched(fd);
    if (found != watched.end()) {
        epoll_ctl(epollFd, EPOLL_CTL_DEL, fd, nullptr);
        watched.erase(found);
    }
}

} // namespace posix
