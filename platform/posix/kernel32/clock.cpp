#include "platform/posix/kernel32/clock.h"

#include <atomic>
#include <chrono>

namespace {

std::atomic<bool> virtualClock{false};
std::atomic<std::uint64_t> virtualNow{0};

std::uint64_t MonotonicMs() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

} // namespace

namespace posix {

std::uint64_t NowMs() {
    return virtualClock.load() ? virtualNow.load() : MonotonicMs();
}

bool ClockIsVirtual() {
    return virtualClock.load();
}

void UseRealClock() {
    virtualClock.store(false);
}

void UseVirtualClock(std::uint64_t startMs) {
    virtualNow.store(startMs);
    virtualClock.store(true);
}

void AdvanceVirtualClock(std::uint64_t ms) {
    if (virtualClock.load()) {
        virtualNow.fetch_add(ms);
    }
}

} // namespace posix
