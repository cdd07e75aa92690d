#include <benchmark/benchmark.h>

#include <cstdint>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "elements/TZuMathParse.h"

namespace {

struct ResultProbe {
    std::int64_t Count = 0;
    std::int32_t Last = 0;
    void Take(TData& value, std::uint16_t) {
        ++Count;
        Last = value.IntValue;
    }
};

// A seconds-to-minutes read-out as the player wires it: an integer arrives over a link,
// the formula reads it as its unbound argument and the integer result leaves on OnResult.
void BM_MathParseCalcMinutes(benchmark::State& state) {
    TZuMathParse parser;
    parser.SetArgCount(1);
    parser.SetExpression("%1 div 60");
    parser.SetResultType(0);
    parser.SetDefault(0);
    ResultProbe probe;
    parser.OnResult = MakeEvent<&ResultProbe::Take>(&probe, 0);
    const TZu_Event calc = MakeEvent<&TZuMathParse::Calc>(&parser, 0);
    DispatchOn();
    constexpr std::int32_t SecondsPerDay = 86400;
    std::int32_t seconds = 0;
    for (auto _ : state) {
        seconds = (seconds + 1) % SecondsPerDay;
        FireInteger(calc, seconds);
    }
    DispatchOff();
    // A figure is only worth reporting if every evaluation produced the right answer.
    const auto iterations = static_cast<std::int64_t>(state.iterations());
    if (probe.Count != iterations || probe.Last != seconds / 60) {
        state.SkipWithError("the formula did not send one correct result per value");
    }
}
BENCHMARK(BM_MathParseCalcMinutes);

} // namespace
