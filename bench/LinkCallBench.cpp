#include <benchmark/benchmark.h>

#include <cstdint>

#include "core/TData.h"
#include "core/TZu_Event.h"

namespace {

// The cheapest possible receiving element: it counts calls and keeps the last value.
struct Counter {
    std::int64_t Count = 0;
    std::int32_t Last = 0;
    void Take(TData& value, std::uint16_t) {
        ++Count;
        Last = value.IntValue;
    }
};

// One integer sent over a bound link through the live dispatcher.
void BM_LinkCallFireInteger(benchmark::State& state) {
    Counter counter;
    const TZu_Event link = MakeEvent<&Counter::Take>(&counter, 0);
    DispatchOn();
    // Unsigned, so a very long run wraps instead of overflowing.
    std::uint32_t next = 0;
    for (auto _ : state) {
        FireInteger(link, static_cast<std::int32_t>(next++));
    }
    DispatchOff();
    const auto iterations = static_cast<std::int64_t>(state.iterations());
    if (counter.Count != iterations || counter.Last != static_cast<std::int32_t>(next - 1)) {
        state.SkipWithError("the link did not deliver every value");
    }
}
BENCHMARK(BM_LinkCallFireInteger);

} // namespace
