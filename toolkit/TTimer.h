#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "toolkit/TCallback.h"
#include "toolkit/TObj.h"

class TControl;

// A periodic timer over a system timer. Every TTimer's system timer belongs to one hidden
// window shared by all of them (made on the first enabling, freed with the last timer); the
// timer's identifier is the TTimer's address and one callback serves them all.
class TTimer : public TObj {
public:
    UINT_PTR TimerId() const { return timerId; }
    bool Enabled() const { return enabled; }
    std::int32_t Interval() const { return interval; }

    // Called with the timer on every tick; may be unset.
    TCallback OnTick;

    // Starts or stops the system timer; nothing when unchanged.
    virtual void SetEnabled(bool on);
    // A running timer restarts with the new period; not positive means 1000 ms.
    void SetInterval(std::int32_t milliseconds);

    friend TTimer* CreateTimer(std::int32_t interval);

protected:
    TTimer() = default;
    ~TTimer() override;

private:
    UINT_PTR timerId = 0; // what SetTimer answered; 0 while not running
    bool enabled = false;
    std::int32_t interval = 0;
};

// A disabled timer; an interval that is not positive means 1000 ms.
TTimer* CreateTimer(std::int32_t interval);

// The platform's timer callback for every TTimer: the identifier is the timer.
void CALLBACK TimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);

// The shared hidden window's control (null while no timer was enabled since the last timer
// was freed), and the number of live timers.
TControl* TimerWindow();
std::int32_t TimerCount();
