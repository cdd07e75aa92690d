#include "elements/TZuHub.h"

void TZuHub::SetOutCount(std::uint16_t count) {
    OnEvent.resize(count);
    OutCount = static_cast<std::uint8_t>(count);
}

void TZuHub::Pass(TData& value, std::uint16_t) {
    // A receiver may lead back into this hub and even resize it, so the bound is checked on
    // every step and the point is copied before it is fired.
    for (std::size_t i = 0; i < OutCount && i < OnEvent.size(); ++i) {
        const TZu_Event point = OnEvent[i];
        TData copy = value;
        Dispatch(point, copy);
    }
}
