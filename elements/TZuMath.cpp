#include "elements/TZuMath.h"

#include "core/Convert.h"

void TZuMath::SetDefault(double value) {
    Default = value;
    LastResult = value;
    DivByZero = false;
}

void TZuMath::Calc(TData& value, std::uint16_t) {
    // The dividend is read first: when both points are unbound with default 0, it is the
    // dividend that takes the incoming value over.
    const double dividend = PullReal(value, Op1, DefaultOp1);
    const double divisor = PullReal(value, Op2, DefaultOp2);
    DivByZero = divisor == 0.0;
    if (DivByZero) {
        LastResult = Default;
        FireNone(OnError);
        return;
    }
    LastResult = dividend / divisor;
    if (ResultType == 0) {
        FireInteger(OnResult, RoundToInt32(LastResult));
    } else {
        FireReal(OnResult, LastResult);
    }
}
