#pragma once

// Timers of windows and of the thread (SetTimer, KillTimer), and the WM_TIMER messages they
// produce.

#include "platform/posix/user32/message_filter.h"

#include <cstdint>
#include <optional>

namespace posix {

// The earliest moment a timer falls due, if any timer exists.
std::optional<std::uint64_t> NextTimerDue();

// The WM_TIMER of the earliest due timer that matches the filter; with remove, the timer is
// then counted as fired and restarts its interval.
bool TakeDueTimer(const MessageFilter& filter, bool remove, MSG* msg);

// The procedure is that of a live timer of this window and id.
bool IsTimerProc(HWND window, UINT_PTR id, TIMERPROC proc);

void KillTimersOf(HWND window);
void ResetTimers();

} // namespace posix
