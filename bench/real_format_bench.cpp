// Decoding the spacecraft's real formats and a whole navigation packet.
#include <benchmark/benchmark.h>
#include <array>
#include <cstdint>
#include <vector>

#include "generator/packet_builder.h"
#include "generator/pass_generator.h"
#include "packets/nav_record.h"
#include "packets/real_formats.h"

namespace kova {
namespace {

// The Real48 fields of a stretch of generated packets, so the values are those of a pass.
std::vector<std::uint8_t> real48Fields(std::size_t count) {
    generator::PassSettings settings;
    generator::PassGenerator pass(settings);
    std::vector<std::uint8_t> fields;
    std::array<std::uint8_t, 126> packet{};
    for (std::uint32_t second = 0; fields.size() < count * 6; ++second) {
        generator::writeNavigationPacket(packet.data(), packet.size(), 0, pass.sampleAt(second));
        fields.insert(fields.end(), packet.begin() + 14, packet.begin() + 74);
    }
    fields.resize(count * 6);
    return fields;
}

void BM_DecodeReal48(benchmark::State& state) {
    constexpr std::size_t kFields = 4096;
    const std::vector<std::uint8_t> fields = real48Fields(kFields);
    for (auto _ : state) {
        double sum = 0.0;
        for (std::size_t n = 0; n < kFields; ++n) sum += decodeReal48(fields.data() + 6 * n);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kFields));
}
BENCHMARK(BM_DecodeReal48);

// Time tag, ten Real48 and three Real32 values of one packet.
void BM_DecodeNavigationPacket(benchmark::State& state) {
    generator::PassSettings settings;
    generator::PassGenerator pass(settings);
    NavRecord record(126);
    generator::writeNavigationPacket(record.data(), record.size(), 0, pass.sampleAt(0));
    for (auto _ : state) {
        record.decode();
        benchmark::DoNotOptimize(record.values().data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_DecodeNavigationPacket);

}  // namespace
}  // namespace kova
