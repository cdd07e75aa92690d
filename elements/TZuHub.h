#pragma once

#include <cstdint>
#include <vector>

#include "core/TData.h"
#include "core/TZu_Event.h"

// Copies one incoming value to each of its outputs in ascending order. Every output gets
// the value exactly as it arrived, and fires only after the previous receiver (and all it
// set off) has returned.
class TZuHub {
public:
    // Resizes OnEvent to `count` outputs (new ones unbound); OutCount keeps the low 8 bits.
    void SetOutCount(std::uint16_t count);
    // Every index behaves the same.
    void Pass(TData& value, std::uint16_t index);

    std::uint8_t OutCount = 0;      // number of outputs that Pass fires
    std::vector<TZu_Event> OnEvent; // the outputs OnEvent1 ... OnEventN
};
