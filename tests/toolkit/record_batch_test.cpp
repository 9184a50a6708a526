// The record pass takes the stream's records a batch at a time: the batches must hand on
// exactly the records, time tags, flags and order of the stream, fill records included, across batch
// boundaries, and stop asking the stream once it has ended.
#include <gtest/gtest.h>

#include <vector>

#include "packets/packet_file.h"
#include "packets/packet_layout.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"
#include "toolkit/attitude_angles.h"
#include "toolkit/record_batch.h"
#include "toolkit/record_stream.h"

namespace kova {
namespace {

struct Taken {
    double julianDate;
    NavValues values;
    std::uint32_t flags;
    TimeTag tag;
};

std::vector<Taken> recordsOneByOne(const std::string& file) {
    PacketFile packets(file, kNavApid);
    NavRecordStream stream(packets, 126);
    std::vector<Taken> records;
    while (const NavRecord* record = stream.next()) {
        records.push_back({record->julianDate(), record->values(), stream.currentQaFlags(), stream.currentTag()});
    }
    return records;
}

TEST(RecordBatch, HandsOnTheStreamsRecordsInOrder) {
    // Gaps that straddle the batch boundaries: fills at 60..63 and 126..130, a long gap, and
    // a record count that is not a multiple of the batch size.
    test::TemporaryDirectory directory;
    test::PacketFileBuilder builder;
    for (std::uint32_t second = 0; second < 300; ++second) {
        const bool leftOut = (second > 59 && second < 64) || (second > 125 && second < 131) ||
                             (second > 200 && second < 280);
        if (!leftOut) builder.navAt(second);
    }
    const std::string file = builder.writeTo(directory.file("pass.kov")).string();
    const std::vector<Taken> expected = recordsOneByOne(file);
    ASSERT_GT(expected.size() % RecordBatch::kCapacity, 0u);

    PacketFile packets(file, kNavApid);
    NavRecordStream stream(packets, 126);
    RecordBatch batch;
    std::vector<Taken> taken;
    std::size_t batches = 0;
    bool more = true;
    while (more) {
        more = batch.refillFrom(stream);
        ++batches;
        EXPECT_LE(batch.size(), RecordBatch::kCapacity);
        if (more) {
            EXPECT_EQ(batch.size(), RecordBatch::kCapacity);
        }
        for (std::size_t n = 0; n < batch.size(); ++n) {
            taken.push_back({batch.julianDate(n), batch.values(n), batch.qaFlags(n), batch.tag(n)});
            const NavValues& v = batch.values(n);
            EXPECT_EQ(batch.attitudeAngles(n),
                      attitudeAngles({v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8], v[9]}));
        }
    }
    EXPECT_EQ(batches, expected.size() / RecordBatch::kCapacity + 1);
    ASSERT_EQ(taken.size(), expected.size());
    for (std::size_t n = 0; n < taken.size(); ++n) {
        EXPECT_EQ(taken[n].julianDate, expected[n].julianDate) << n;
        EXPECT_EQ(taken[n].values, expected[n].values) << n;
        EXPECT_EQ(taken[n].flags, expected[n].flags) << n;
        EXPECT_EQ(taken[n].tag, expected[n].tag) << n;
    }
    EXPECT_EQ(stream.recordCount(), expected.size());

    // Once the stream has ended the batch stays empty.
    EXPECT_FALSE(batch.refillFrom(stream));
    EXPECT_EQ(batch.size(), 0u);
}

}  // namespace
}  // namespace kova
