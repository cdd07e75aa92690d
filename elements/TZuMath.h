#pragma once

#include <cstdint>

#include "core/TData.h"
#include "core/TZu_Event.h"

// Divides one pulled number by another and sends the quotient on. Each operand comes from
// its data point when bound, else from its default, and a zero default lets the operand
// take over the value Calc was fired with (so an unbound Op1 with default 0 divides the
// incoming value). A zero divisor sends nothing on OnResult and fires OnError instead.
class TZuMath {
public:
    // Sets the result used after a zero divisor and resets the last result to it.
    void SetDefault(double value);
    void Calc(TData& value, std::uint16_t index);

    bool DivByZero = false;      // the last Calc met a zero divisor
    double LastResult = 0.0;     // last quotient, or Default after a zero divisor
    double Default = 0.0;        // result used when the divisor is zero
    double DefaultOp1 = 0.0;     // dividend when Op1 is unbound
    double DefaultOp2 = 0.0;     // divisor when Op2 is unbound
    std::uint8_t ResultType = 0; // 0 sends an integer (rounded half to even), else a real
    TZu_Event OnResult;          // output: the quotient
    TZu_Event OnError;           // output: zero divisor, no value
    TZu_Event Op1;               // data point: dividend
    TZu_Event Op2;               // data point: divisor
};
