#include "toolkit/TTimer.h"

#include "toolkit/TControl.h"

namespace {

constexpr std::int32_t DefaultInterval = 1000;

TControl* timerWindow = nullptr;
std::int32_t timerCount = 0;

std::int32_t ValidInterval(std::int32_t milliseconds) {
    return milliseconds > 0 ? milliseconds : DefaultInterval;
}

// The hidden window that owns every TTimer's system timer; its window is made when its
// handle is first asked for.
TControl* SharedTimerWindow() {
    if (timerWindow == nullptr) {
        timerWindow = MakeWindowedControl(nullptr, "App", false);
        timerWindow->SetVisible(false);
    }
    return timerWindow;
}

} // namespace

TTimer* CreateTimer(std::int32_t interval) {
    TTimer* timer = TTimer::Created(new TTimer);
    timer->interval = ValidInterval(interval);
    ++timerCount;
    return timer;
}

TTimer::~TTimer() {
    SetEnabled(false);
    --timerCount;
    if (timerCount == 0) {
        TControl* window = timerWindow;
        timerWindow = nullptr;
        Free(window);
    }
}

void TTimer::SetEnabled(bool on) {
    if (on == enabled) {
        return;
    }
    enabled = on;
    if (on) {
        HWND window = SharedTimerWindow()->GetHandle();
        // Without its window a system timer would get an identifier of the system's choosing,
        // which TimerProc could not take for a TTimer.
        if (window != nullptr) {
            timerId = SetTimer(window, reinterpret_cast<UINT_PTR>(this),
                               static_cast<UINT>(interval), &TimerProc);
        }
    } else if (timerId != 0) {
        KillTimer(timerWindow != nullptr ? timerWindow->Handle : nullptr, timerId);
        timerId = 0;
    }
}

void TTimer::SetInterval(std::int32_t milliseconds) {
    const std::int32_t value = ValidInterval(milliseconds);
    if (value == interval) {
        return;
    }
    interval = value;
    const bool wasEnabled = enabled;
    SetEnabled(false);
    SetEnabled(wasEnabled);
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    auto* timer = reinterpret_cast<TTimer*>(id);
    timer->OnTick.Call(timer);
}

TControl* TimerWindow() {
    return timerWindow;
}

std::int32_t TimerCount() {
    return timerCount;
}
