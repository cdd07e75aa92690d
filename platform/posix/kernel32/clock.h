#pragma once

// The layer's one clock. Every timing in the layer (timers, the tick count, double clicks,
// audio progress) reads it. It is the real monotonic clock, or a virtual clock that stands
// still until the test driver advances it.

#include <cstdint>

namespace posix {

// Milliseconds since an arbitrary origin. Safe to call from any thread.
std::uint64_t NowMs();

bool ClockIsVirtual();

// Switches to the monotonic clock.
void UseRealClock();

// Switches to the virtual clock, which then reads startMs.
void UseVirtualClock(std::uint64_t startMs);

// Moves the virtual clock forward; ignored under the real clock.
void AdvanceVirtualClock(std::uint64_t ms);

} // namespace posix
