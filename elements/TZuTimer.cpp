#include "elements/TZuTimer.h"

#include "toolkit/TTimer.h"

TZuTimer::TZuTimer() : timer(CreateTimer(1000)) {
    timer->OnTick = {&TZuTimer::Tick, this};
}

TZuTimer::~TZuTimer() {
    Free(timer);
}

void TZuTimer::SetInterval(std::int32_t milliseconds) {
    timer->SetInterval(milliseconds);
}

void TZuTimer::SetEnabled(bool on) {
    timer->SetEnabled(on);
}

void TZuTimer::SetStopAfter(std::int32_t n) {
    ticksLeft = n;
    stopAfter = n;
}

void TZuTimer::Tick(void* element, TObj*) {
    auto* self = static_cast<TZuTimer*>(element);
    if (self->ticksLeft >= 0) {
        --self->ticksLeft;
    }
    if (self->ticksLeft == 0) {
        self->timer->SetEnabled(false);
    }
    FireNone(self->OnTimer);
    // Read again: a receiver of OnTimer may have set a new limit.
    if (self->ticksLeft == 0) {
        self->timer->SetEnabled(false);
        FireNone(self->OnStop);
    }
}
