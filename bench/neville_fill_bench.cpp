// One fill record: the 13 channels of a full window (seven points) evaluated at a time inside
// the gap, as the record stream does for every interpolated second.
#include <benchmark/benchmark.h>
#include <array>

#include "generator/pass_generator.h"
#include "toolkit/record_stream.h"

namespace kova {
namespace {

void BM_NevilleFillRecord(benchmark::State& state) {
    generator::PassSettings settings;
    generator::PassGenerator pass(settings);
    std::array<NevilleInterpolator, record_stream::kChannelCount> channels;
    // Three records before a 20 s gap and four after it, one second apart on either side, at
    // their seconds from the record before the gap.
    constexpr std::uint32_t kWindowSeconds[] = {0, 1, 2, 22, 23, 24, 25};
    for (std::uint32_t second : kWindowSeconds) {
        const NavValues values = pass.sampleAt(second).values;
        const double x = static_cast<double>(second) - 2.0;
        for (std::size_t k = 0; k < record_stream::kChannelCount; ++k) channels[k].addPoint(x, values[k]);
    }
    const double fillTime = 10.0;
    for (auto _ : state) {
        NavValues filled;
        for (std::size_t k = 0; k < record_stream::kChannelCount; ++k) filled[k] = channels[k].evaluate(fillTime);
        benchmark::DoNotOptimize(filled.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_NevilleFillRecord);

}  // namespace
}  // namespace kova
