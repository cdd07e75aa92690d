// Timers. A timer is never queued: its WM_TIMER is made when the queue is asked for one and
// the timer is due, so however late the queue is read there is at most one per timer, and a
// killed timer leaves nothing behind.

#include "platform/posix/user32/timers.h"

#include "platform/posix/kernel32/clock.h"
#include "platform/posix/testing/call_recorder.h"
#include "platform/posix/user32/window_manager.h"

#include <algorithm>
#include <list>

namespace {

struct Timer {
    HWND Window;
    UINT_PTR Id;
    UINT Interval;
    TIMERPROC Proc;
    std::uint64_t Due;
};

// In creation order, which breaks ties between timers due at the same moment.
std::list<Timer> timers;
// Ids of timers without a window count down from the top, where window timers rarely go.
UINT_PTR nextThreadTimerId = 0x7FFF;

std::list<Timer>::iterator Find(HWND window, UINT_PTR id) {
    return std::find_if(timers.begin(), timers.end(), [&](const Timer& timer) {
        return timer.Window == window && timer.Id == id;
    });
}

UINT_PTR NewThreadTimerId() {
    while (Find(nullptr, nextThreadTimerId) != timers.end() || nextThreadTimerId == 0) {
        nextThreadTimerId = nextThreadTimerId == 1 ? 0x7FFF : nextThreadTimerId - 1;
    }
    return nextThreadTimerId--;
}

} // namespace

namespace posix {

std::optional<std::uint64_t> NextTimerDue() {
    std::optional<std::uint64_t> earliest;
    for (const Timer& timer : timers) {
        if (!earliest || timer.Due < *earliest) {
            earliest = timer.Due;
        }
    }
    return earliest;
}

bool TakeDueTimer(const MessageFilter& filter, bool remove, MSG* msg) {
    const std::uint64_t now = NowMs();
    auto chosen = timers.end();
    for (auto timer = timers.begin(); timer != timers.end(); ++timer) {
        if (timer->Due <= now && filter.Matches(timer->Window, WM_TIMER) &&
            (chosen == timers.end() || timer->Due < chosen->Due)) {
            chosen = timer;
        }
    }
    if (chosen == timers.end()) {
        return false;
    }
    *msg = {chosen->Window,          WM_TIMER, chosen->Id, reinterpret_cast<LPARAM>(chosen->Proc),
            static_cast<DWORD>(now), {}};
    if (remove) {
        chosen->Due = now + chosen->Interval;
    }
    return true;
}

bool IsTimerProc(HWND window, UINT_PTR id, TIMERPROC proc) {
    const auto timer = Find(window, id);
    return timer != timers.end() && timer->Proc == proc;
}

void KillTimersOf(HWND window) {
    timers.remove_if([&](const Timer& timer) { return timer.Window == window; });
}

void ResetTimers() {
    timers.clear();
    nextThreadTimerId = 0x7FFF;
}

} // namespace posix

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerProc) {
    posix::RecordCall(testdriver::ApiFamily::Timers, "SetTimer",
                      {reinterpret_cast<std::uintptr_t>(window), id, elapse,
                       reinterpret_cast<std::uintptr_t>(timerProc)});
    if (window != nullptr && posix::CheckedWindow(window) == nullptr) {
        return 0;
    }
    const UINT interval = std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    if (window == nullptr && (id == 0 || Find(nullptr, id) == timers.end())) {
        id = NewThreadTimerId();
    }
    const std::uint64_t due = posix::NowMs() + interval;
    const auto existing = Find(window, id);
    if (existing != timers.end()) {
        // Setting an existing timer restarts it.
        existing->Interval = interval;
        existing->Proc = timerProc;
        existing->Due = due;
    } else {
        timers.push_back({window, id, interval, timerProc, due});
    }
    return window != nullptr && id == 0 ? 1 : id;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
    posix::RecordCall(testdriver::ApiFamily::Timers, "KillTimer",
                      {reinterpret_cast<std::uintptr_t>(window), id});
    if (window != nullptr && posix::CheckedWindow(window) == nullptr) {
        return FALSE;
    }
    const auto timer = Find(window, id);
    if (timer == timers.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    timers.erase(timer);
    return TRUE;
}
