// The arithmetic a keystroke costs, without the window.

#include <benchmark/benchmark.h>

#include <array>
#include <string_view>

#include "core/calculations.h"
#include "core/number_text.h"

namespace {

using namespace velmora::core;

void BM_ParseNumber(benchmark::State& state) {
    constexpr std::array<std::string_view, 6> texts{"32",     "1024",  "5.27",
                                                    " 1 024", "1.5E3", "30796.88"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseNumber(texts[i]));
        i = (i + 1) % texts.size();
    }
}
BENCHMARK(BM_ParseNumber);

void BM_ResultText(benchmark::State& state) {
    constexpr std::array<double, 4> values{1.0, 0.3333333333333333, 30796.875, 1023.999};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ResultText(values[i]));
        i = (i + 1) % values.size();
    }
}
BENCHMARK(BM_ResultText);

// From the two input texts to the six texts of the time fields.
void BM_CalculateTime(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(CalculateTime("100", 1073741824, "1", 1024));
}
BENCHMARK(BM_CalculateTime);

void BM_CalculateSpeed(benchmark::State& state) {
    const TimeTexts times{"0", "0", "0", "1.5", "17", "4"};
    for (auto _ : state)
        benchmark::DoNotOptimize(CalculateSpeed("1", 1073741824, times));
}
BENCHMARK(BM_CalculateSpeed);

}  // namespace

BENCHMARK_MAIN();
