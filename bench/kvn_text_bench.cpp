// The text of kovaexport's data lines: one fixed-point number with the hand-written digits and
// with std::to_chars, and one epoch text.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>

#include "export/kvn_text.h"

namespace kova {
namespace {

// Positions in km of an orbit-like spread, nine decimals, as in an OEM line.
void BM_FixedTextHandWritten(benchmark::State& state) {
    char text[kvn::kNumberTextCapacity];
    double value = -7000.123456789;
    for (auto _ : state) {
        value += 0.0123456789;
        benchmark::DoNotOptimize(kvn::writeFixed(text, value, 9));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_FixedTextHandWritten);

void BM_FixedTextToChars(benchmark::State& state) {
    char text[64];
    double value = -7000.123456789;
    for (auto _ : state) {
        value += 0.0123456789;
        benchmark::DoNotOptimize(std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 9).ptr);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_FixedTextToChars);

// One record a second, as the records of a pass come.
void BM_EpochText(benchmark::State& state) {
    char text[kvn::kEpochTextSize];
    kvn::EpochTextWriter writer;
    double tai93 = 1009843172.9999855;
    for (auto _ : state) {
        tai93 += 1.0;
        std::int64_t microseconds = 0;
        kvn::microsecondsSince1993(tai93, microseconds);
        benchmark::DoNotOptimize(writer.write(text, microseconds));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_EpochText);

}  // namespace
}  // namespace kova
