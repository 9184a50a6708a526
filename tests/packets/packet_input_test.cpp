#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <vector>

#include "packets/packet_input.h"
#include "tests/support/temporary_directory.h"

namespace kova {
namespace {

using test::TemporaryDirectory;

std::vector<std::uint8_t> patternBytes(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
    return bytes;
}

// Every operation, on the buffered input and on a std::ifstream side by side: the states,
// the bytes stored (and those left alone), the counts and the positions must agree.
class SideBySide {
public:
    SideBySide(const std::filesystem::path& file, std::size_t bufferSize)
        : input_(file.string().c_str(), bufferSize), reference_(file, std::ios::in | std::ios::binary) {}

    void read(std::int64_t count) {
        std::vector<std::uint8_t> mine(static_cast<std::size_t>(count) + 8, 0xEE);
        std::vector<std::uint8_t> theirs(static_cast<std::size_t>(count) + 8, 0xEE);
        input_.read(mine.data(), count);
        reference_.read(reinterpret_cast<char*>(theirs.data()), count);
        ASSERT_EQ(mine, theirs) << "read " << count;
        ASSERT_EQ(input_.gcount(), reference_.gcount());
        compareStates("read");
    }
    void seek(std::int64_t position) {
        input_.seek(position);
        reference_.seekg(std::streampos(std::streamoff(position)));
        compareStates("seek");
    }
    void seekRelative(std::int64_t offset) {
        input_.seekRelative(offset);
        reference_.seekg(offset, std::ios::cur);
        compareStates("seekRelative");
    }
    void tell() {
        const std::int64_t mine = input_.tell();
        const std::int64_t theirs = static_cast<std::int64_t>(reference_.tellg());
        ASSERT_EQ(mine, theirs);
        compareStates("tell");
    }
    void clear() {
        input_.clear();
        reference_.clear();
    }
    void compareStates(const char* operation) {
        ASSERT_EQ(input_.rdstate(), reference_.rdstate()) << operation;
        ASSERT_EQ(input_.good(), reference_.good());
        ASSERT_EQ(input_.eof(), reference_.eof());
        ASSERT_EQ(input_.fail(), reference_.fail());
        ASSERT_EQ(input_.bad(), reference_.bad());
    }

private:
    PacketInput input_;
    std::ifstream reference_;
};

// Random reads, seeks, tells and clears, the same on both streams. `jump` bounds the
// relative seeks, so that a large one skips windows the way filler packets do.
void runRandomOperations(const std::filesystem::path& file, std::size_t fileSize, std::size_t bufferSize,
                         std::int64_t jump, int steps) {
    SideBySide streams(file, bufferSize);
    std::mt19937 random(static_cast<unsigned>(bufferSize + fileSize));
    for (int step = 0; step < steps; ++step) {
        switch (random() % 10) {
            case 0:
            case 1:
            case 2:
            case 3: streams.read(random() % 300); break;
            case 4: streams.seek(static_cast<std::int64_t>(random() % (fileSize + 600)) - 20); break;
            case 5: streams.seekRelative(static_cast<std::int64_t>(random() % 1200) - 500); break;
            case 6: streams.seekRelative(static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(jump))); break;
            case 7: streams.tell(); break;
            case 8:
                if (random() % 4 == 0) streams.clear();
                break;
            case 9: streams.read(0); break;
        }
        if (testing::Test::HasFatalFailure()) return;
    }
}

TEST(PacketInput, BehavesLikeAStandardFileStreamThroughRandomOperations) {
    TemporaryDirectory directory;
    {
        const auto file = directory.file("pattern.bin");
        const std::size_t fileSize = 5000;
        test::writeBytes(file, patternBytes(fileSize));
        // Small buffers make the window boundaries frequent; the default one holds the file.
        for (const std::size_t bufferSize : {std::size_t{1}, std::size_t{64}, std::size_t{777},
                                             PacketInput::kDefaultBufferSize}) {
            SCOPED_TRACE(bufferSize);
            runRandomOperations(file, fileSize, bufferSize, 1200, 4000);
            if (HasFatalFailure()) return;
        }
    }
    // Windows large enough to be read ahead, over a file of many of them, with jumps that
    // land in the chunk read ahead, beyond it, and far enough to make the reads sparse.
    const auto file = directory.file("large.bin");
    const std::size_t bufferSize = PacketInput::kReadAheadMinimum;
    const std::size_t fileSize = 9 * bufferSize + 1234;
    test::writeBytes(file, patternBytes(fileSize));
    for (const std::int64_t jump : {std::int64_t{2000}, std::int64_t{40000}, static_cast<std::int64_t>(3 * bufferSize)}) {
        SCOPED_TRACE(jump);
        runRandomOperations(file, fileSize, bufferSize, jump, 20000);
        if (HasFatalFailure()) return;
    }
}

TEST(PacketInput, StateSequencesOfTheIndexingWalk) {
    TemporaryDirectory directory;
    const auto file = directory.file("ten.bin");
    test::writeBytes(file, patternBytes(10));
    SideBySide streams(file, 4);
    // A read past the end keeps the partial bytes; a seek clears end of file only, so a
    // failed stream stays failed until cleared.
    streams.seek(7);
    streams.read(6);
    streams.seek(0);
    streams.tell();
    streams.clear();
    streams.seekRelative(-1);  // before the start of the file
    streams.read(1);
    streams.clear();
    streams.seekRelative(100);  // past the end is allowed
    streams.tell();
    streams.read(1);
    streams.clear();
    streams.seek(2);
    streams.read(3);
    streams.tell();
}

TEST(PacketInput, MissingFileIsFailedAndReadsNothing) {
    TemporaryDirectory directory;
    PacketInput input(directory.file("missing.bin").string().c_str());
    EXPECT_FALSE(input.isOpen());
    EXPECT_TRUE(input.fail());
    EXPECT_FALSE(input.eof());
    std::uint8_t byte = 0x5A;
    input.read(&byte, 1);
    EXPECT_EQ(byte, 0x5A);
    EXPECT_EQ(input.gcount(), 0);
    EXPECT_EQ(input.tell(), -1);
}

TEST(PacketInput, DirectoryReadsAsBad) {
    TemporaryDirectory directory;
    PacketInput input(directory.path().string().c_str());
    std::ifstream reference(directory.path(), std::ios::binary);
    std::uint8_t mine[6];
    char theirs[6];
    input.read(mine, 6);
    reference.read(theirs, 6);
    EXPECT_EQ(input.rdstate(), reference.rdstate());
}

// Offsets beyond 4 GiB, in a sparse file so that the test needs no disk space.
TEST(PacketInput, OffsetsBeyondFourGibibytes) {
    TemporaryDirectory directory;
    const auto file = directory.file("sparse.bin");
    const std::int64_t far = (std::int64_t{1} << 32) + 12345;
    {
        std::ofstream out(file, std::ios::binary);
        out.seekp(std::streamoff(far));
        const char tail[4] = {1, 2, 3, 4};
        out.write(tail, 4);
        ASSERT_TRUE(out.good());
    }
    PacketInput input(file.string().c_str());
    input.seek(far - 2);
    std::uint8_t bytes[8] = {};
    input.read(bytes, 8);
    EXPECT_TRUE(input.eof());
    EXPECT_EQ(input.gcount(), 6);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[2], 1);
    EXPECT_EQ(bytes[5], 4);
    input.clear();
    input.seekRelative(-6);
    EXPECT_EQ(input.tell(), far - 2);
}

}  // namespace
}  // namespace kova
