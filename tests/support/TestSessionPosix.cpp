#include "tests/support/TestSession.h"

#include "platform/posix/kernel32/clock.h"
#include "platform/testing.h"

#include <chrono>
#include <thread>

namespace testsession {

void Reset() {
    testdriver::Reset();
}

std::optional<int> PumpUntilIdle() {
    return testdriver::PumpUntilIdle();
}

void LetTimePass(DWORD ms) {
    if (posix::ClockIsVirtual()) {
        posix::AdvanceVirtualClock(ms);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

const MSG* MessageBeingDispatched(std::uint64_t* serial) {
    return testdriver::MessageBeingDispatched(serial);
}

bool RunningOnOwnLayer() {
    return true;
}

bool RunningOnWine() {
    return false;
}

} // namespace testsession
