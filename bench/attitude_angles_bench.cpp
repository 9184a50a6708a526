// The attitude angles of one record: the per-record path of the attitude writer, and the same
// product built from Matrix objects for comparison.
#include <benchmark/benchmark.h>
#include <array>
#include <vector>

#include "generator/pass_generator.h"
#include "matrix/frame_matrices.h"
#include "toolkit/attitude_angles.h"

namespace kova {
namespace {

constexpr std::size_t kSamples = 1024;

std::vector<NavValues> passSamples() {
    generator::PassSettings settings;
    generator::PassGenerator pass(settings);
    std::vector<NavValues> samples;
    for (std::uint32_t second = 0; second < kSamples; ++second) samples.push_back(pass.sampleAt(second * 7).values);
    return samples;
}

void BM_AttitudeAngles(benchmark::State& state) {
    const std::vector<NavValues> samples = passSamples();
    std::size_t n = 0;
    for (auto _ : state) {
        const NavValues& v = samples[n++ % kSamples];
        benchmark::DoNotOptimize(attitudeAngles({v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8], v[9]}));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_AttitudeAngles);

void BM_AttitudeAnglesThroughMatrixObjects(benchmark::State& state) {
    const std::vector<NavValues> samples = passSamples();
    std::size_t n = 0;
    for (auto _ : state) {
        const NavValues& v = samples[n++ % kSamples];
        const Matrix attitude =
            quaternionMatrix(v[6], v[7], v[8], v[9]) * transpose(orbitFrame({v[0], v[1], v[2]}, {v[3], v[4], v[5]}));
        benchmark::DoNotOptimize(attitude(1, 2));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_AttitudeAnglesThroughMatrixObjects);

// Many records at once, as the record pass computes them.
void BM_AttitudeAnglesOfRecords(benchmark::State& state) {
    const std::vector<NavValues> samples = passSamples();
    std::vector<std::array<double, 3>> angles(kSamples);
    for (auto _ : state) {
        attitudeAnglesOfRecords(samples, angles);
        benchmark::DoNotOptimize(angles.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kSamples));
}
BENCHMARK(BM_AttitudeAnglesOfRecords);

}  // namespace
}  // namespace kova
