// The indexing walk over a whole packet file (one day), counted per packet of the file.
#include <benchmark/benchmark.h>

#include "bench/bench_packet_files.h"
#include "packets/packet_file.h"
#include "packets/packet_layout.h"

namespace kova {
namespace {

constexpr int kNavigationApid = 957;

void BM_IndexingWalk(benchmark::State& state) {
    const auto otherPackets = static_cast<std::uint32_t>(state.range(0));
    const generator::PassSettings settings = bench::oneDayPass(126, otherPackets);
    const std::string& file = bench::packetFile("walk" + std::to_string(otherPackets) + ".kov", settings);
    std::int64_t packets = 0;
    for (auto _ : state) {
        PacketFile index(file, kNavigationApid);
        benchmark::DoNotOptimize(index.indexCount());
        packets += static_cast<std::int64_t>(index.indexCount()) * (1 + otherPackets);
    }
    state.SetItemsProcessed(packets);
}
// Navigation packets only, and with two packets of other APIDs after each.
BENCHMARK(BM_IndexingWalk)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kova
