#include <benchmark/benchmark.h>

#include <cstdint>

#include "core/TData.h"
#include "core/TZu_Event.h"

namespace {

// The cheapest possible receiving element: it only keeps what it is given.
struct Counter {
    std::int64_t Sum = 0;
    void Take(TData& value, std::uint16_t) { Sum += value.IntValue; }
};

// One integer sent over a bound link through the live dispatcher.
void BM_LinkCallFireInteger(benchmark::State& state) {
    Counter counter;
    const TZu_Event link = MakeEvent<&Counter::Take>(&counter, 0);
    DispatchOn();
    std::int32_t next = 0;
    for (auto _ : state) {
        FireInteger(link, next++);
    }
    benchmark::DoNotOptimize(counter.Sum);
    DispatchOff();
}
BENCHMARK(BM_LinkCallFireInteger);

} // namespace
