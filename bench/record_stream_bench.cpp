// One step of the record stream (the next record, read, decoded and flagged), and one step
// of the whole record pass with the blocks of each record set.
#include <benchmark/benchmark.h>
#include <memory>

#include "bench/bench_packet_files.h"
#include "packets/packet_file.h"
#include "toolkit/record_batch.h"
#include "toolkit/record_stream.h"
#include "toolkit/records.h"

namespace kova {
namespace {

constexpr int kNavigationApid = 957;
constexpr std::uint32_t kPacketSize = 126;

// The stream over the one-day file, opened again whenever it runs out (outside the timing).
class StreamOverOneDay {
public:
    explicit StreamOverOneDay(benchmark::State& state)
        : state_(state), file_(bench::packetFile("day.kov", bench::oneDayPass(kPacketSize))) {
        open();
    }

    const NavRecord& next() {
        const NavRecord* record = stream_->next();
        if (record == nullptr) {
            state_.PauseTiming();
            open();
            state_.ResumeTiming();
            record = stream_->next();
        }
        return *record;
    }
    std::uint16_t flags() const { return stream_->currentQaFlags(); }

private:
    void open() {
        stream_.reset();
        packets_ = std::make_unique<PacketFile>(file_, kNavigationApid);
        stream_ = std::make_unique<NavRecordStream>(*packets_, kPacketSize);
    }

    benchmark::State& state_;
    const std::string& file_;
    std::unique_ptr<PacketFile> packets_;
    std::unique_ptr<NavRecordStream> stream_;
};

void BM_RecordStreamStep(benchmark::State& state) {
    StreamOverOneDay stream(state);
    for (auto _ : state) benchmark::DoNotOptimize(stream.next().julianDate());
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_RecordStreamStep);

// The record pass's step: records taken a batch at a time (attitude angles computed two
// records side by side), then both blocks of each record set, as the processing run does.
void BM_RecordPassStep(benchmark::State& state) {
    const std::string& file = bench::packetFile("day.kov", bench::oneDayPass(kPacketSize));
    EphemerisRecord ephemerisRecord;
    AttitudeRecord attitudeRecord;
    std::int64_t records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        PacketFile packets(file, kNavigationApid);
        NavRecordStream stream(packets, kPacketSize);
        RecordBatch batch;  // one per stream: it remembers that its stream has ended
        state.ResumeTiming();
        bool more = true;
        while (more) {
            more = batch.refillFrom(stream);
            for (std::size_t n = 0; n < batch.size(); ++n) {
                ephemerisRecord.setFromNavValues(batch.julianDate(n), batch.values(n), batch.qaFlags(n));
                attitudeRecord.setFromNavValues(batch.julianDate(n), batch.values(n), batch.attitudeAngles(n),
                                                batch.qaFlags(n));
                benchmark::DoNotOptimize(ephemerisRecord.data());
                benchmark::DoNotOptimize(attitudeRecord.data());
                benchmark::ClobberMemory();
            }
            records += static_cast<std::int64_t>(batch.size());
        }
    }
    state.SetItemsProcessed(records);
}
BENCHMARK(BM_RecordPassStep)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kova
