// The export's records carry the time tags of the record stream: a real record its packet's
// tag, fill record k after the real record (S0, C0) the tag (S0 + k, C0); the records of an
// ephemeris file have none.
#include <gtest/gtest.h>

#include <vector>

#include "export/record_sources.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"
#include "toolkit/layout.h"

namespace kova::test {
namespace {

TEST(PacketRecordSource, EveryRecordCarriesItsTimeTag) {
    TemporaryDirectory directory;
    const auto file =
        PacketFileBuilder().navAt(0, 500).navAt(1, 500).navAt(4, 500).navAt(5, 5000).writeTo(directory.file("p.kov"));
    PacketRecordSource source(file.string(), 126);
    ASSERT_TRUE(source.error().empty()) << source.error();
    const std::vector<TimeTag> expected = {{kTestBaseSeconds + 0, 500}, {kTestBaseSeconds + 1, 500},
                                           {kTestBaseSeconds + 2, 500}, {kTestBaseSeconds + 3, 500},
                                           {kTestBaseSeconds + 4, 500}, {kTestBaseSeconds + 5, 5000}};
    std::vector<TimeTag> tags;
    std::vector<bool> filled;
    ExportRecord record;
    while (source.next(record)) {
        tags.push_back(record.tag);
        filled.push_back((record.qaFlags & (1u << qa_flags::kRep)) != 0);
    }
    EXPECT_TRUE(source.error().empty()) << source.error();
    EXPECT_EQ(tags, expected);
    EXPECT_EQ(filled, (std::vector<bool>{false, false, true, true, false, false}));
}

// The writing pass walks the planning pass's index again: the same records, whatever was added
// to the file since it was indexed; a walk that did not reach the end cannot be walked again.
TEST(PacketRecordSource, ASecondWalkGivesThePlannedRecordsAgain) {
    TemporaryDirectory directory;
    const auto file =
        PacketFileBuilder().navAt(0, 500).navAt(1, 500).navAt(4, 500).navAt(5, 5000).writeTo(directory.file("p.kov"));
    const auto tagsOf = [](PacketRecordSource& source) {
        std::vector<TimeTag> tags;
        ExportRecord record;
        while (source.next(record)) tags.push_back(record.tag);
        return tags;
    };
    PacketRecordSource source(file.string(), 126);
    EXPECT_FALSE(source.rewind());  // not at the end yet
    const std::vector<TimeTag> first = tagsOf(source);
    ASSERT_EQ(first.size(), 6u);
    PacketFileBuilder().navAt(0, 500).navAt(1, 500).navAt(4, 500).navAt(5, 5000).navAt(6, 500).writeTo(file);
    ASSERT_TRUE(source.rewind());
    EXPECT_EQ(tagsOf(source), first);
    EXPECT_TRUE(source.error().empty()) << source.error();
}

}  // namespace
}  // namespace kova::test
