#pragma once

#include <cstdint>

#include "core/TZu_Event.h"

class TObj;
class TTimer;

// Fires OnTimer on every tick of its timer and, with a tick limit, stops itself after that
// many ticks and fires OnStop. It has no inputs: it runs as configured.
class TZuTimer {
public:
    TZuTimer();
    virtual ~TZuTimer();
    TZuTimer(const TZuTimer&) = delete;
    TZuTimer& operator=(const TZuTimer&) = delete;

    void SetInterval(std::int32_t milliseconds);
    void SetEnabled(bool on);
    // n > 0 stops the timer after n ticks; 0 (or less) sets no limit.
    void SetStopAfter(std::int32_t n);

    TTimer* Timer() const { return timer; }
    std::int32_t TicksLeft() const { return ticksLeft; }
    std::int32_t StopAfter() const { return stopAfter; }

    TZu_Event OnTimer; // a tick, no value
    TZu_Event OnStop;  // the tick limit was reached, no value

private:
    static void Tick(void* element, TObj* timer);

    TTimer* timer;              // owned
    std::int32_t ticksLeft = 0; // ticks before the timer stops itself; negative = no limit
    std::int32_t stopAfter = 0;
};
