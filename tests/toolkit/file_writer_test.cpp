#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/toolkit/expected_bytes.h"
#include "toolkit/file_writer.h"
#include "toolkit/records.h"

namespace kova {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::bytesOf;

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes slice(const Bytes& bytes, std::size_t offset, std::size_t size) {
    if (offset + size > bytes.size()) return {};
    return Bytes(bytes.begin() + offset, bytes.begin() + offset + size);
}

class FileWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::path(KOVA_BINARY_DIR) / "test_output" / "toolkit_writer" /
                     ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        common_.setSpacecraft("KALPM1");
        common_.setInterval(1.0f);
        ephemerisHeader_.setReferenceFrame("J2000");
        attitudeHeader_.setAngleOrder(3, 1, 2);
    }
    std::string path(const char* name) const { return (directory_ / name).string(); }

    EphemerisRecord recordAt(double julianDate) {
        EphemerisRecord record;
        record.setTime(julianDate);
        record.setPosition({julianDate, 2.0, 3.0});
        return record;
    }

    fs::path directory_;
    ToolkitHeader common_;
    EphemerisHeader ephemerisHeader_;
    AttitudeHeader attitudeHeader_;
};

TEST_F(FileWriterTest, CloseRewritesHeadersWithFinalValues) {
    const Bytes commonAtOpen = bytesOf(common_);
    std::vector<EphemerisRecord> records{recordAt(2452640.5), recordAt(2452640.6), recordAt(2452640.7)};
    OrbitMetadataRecord metadata;
    metadata.setOrbitNumber(4);
    {
        EphemerisFileWriter ephemeris(path("x.eph"), common_, ephemerisHeader_);
        AttitudeFileWriter attitude(path("x.att"), common_, attitudeHeader_);
        ASSERT_FALSE(ephemeris.openFailed());
        ASSERT_FALSE(attitude.openFailed());
        EXPECT_EQ(common_.useCount(), 2);
        EXPECT_EQ(ephemerisHeader_.useCount(), 1);
        EXPECT_EQ(attitudeHeader_.useCount(), 1);
        EXPECT_EQ(ephemeris.kind(), "ephemeris");
        EXPECT_EQ(attitude.kind(), "attitude");

        for (const EphemerisRecord& record : records) {
            ephemeris.writeBlock(record);
            attitude.writeBlock(record);
        }
        ephemeris.writeBlock(metadata);
        common_.setRecordCount(3);
        ephemerisHeader_.setOrbits(4, 4, 1);

        EXPECT_TRUE(attitude.close());
        EXPECT_TRUE(ephemeris.close());
        EXPECT_FALSE(ephemeris.failed());
        EXPECT_EQ(common_.useCount(), 0);
        EXPECT_EQ(ephemerisHeader_.useCount(), 0);
        EXPECT_EQ(attitudeHeader_.useCount(), 0);
    }  // destroying closed writers changes nothing

    const Bytes eph = readFile(path("x.eph"));
    const Bytes att = readFile(path("x.att"));
    ASSERT_EQ(eph.size(), 512u + 3 * 64 + 32);
    ASSERT_EQ(att.size(), 512u + 3 * 64);
    EXPECT_NE(bytesOf(common_), commonAtOpen);
    EXPECT_EQ(slice(eph, 0, 140), bytesOf(common_));
    EXPECT_EQ(slice(att, 0, 140), bytesOf(common_));
    EXPECT_EQ(slice(eph, 140, 372), bytesOf(ephemerisHeader_));
    EXPECT_EQ(slice(att, 140, 372), bytesOf(attitudeHeader_));
    for (std::size_t n = 0; n < records.size(); ++n) {
        EXPECT_EQ(slice(eph, 512 + 64 * n, 64), bytesOf(records[n]));
        EXPECT_EQ(slice(att, 512 + 64 * n, 64), bytesOf(records[n]));
    }
    EXPECT_EQ(slice(eph, 512 + 3 * 64, 32), bytesOf(metadata));
}

TEST_F(FileWriterTest, AbandonKeepsHeadersWrittenAtOpen) {
    const Bytes commonAtOpen = bytesOf(common_);
    const Bytes kindAtOpen = bytesOf(ephemerisHeader_);
    const EphemerisRecord record = recordAt(2452640.5);
    for (bool explicitAbandon : {true, false}) {
        SCOPED_TRACE(explicitAbandon ? "abandon()" : "destructor");
        {
            EphemerisFileWriter writer(path("x.eph"), common_, ephemerisHeader_);
            writer.writeBlock(record);
            writer.writeBlock(record);
            common_.setRecordCount(2);
            ephemerisHeader_.setOrbits(1, 2, 1);
            if (explicitAbandon) {
                writer.abandon();
                EXPECT_EQ(common_.useCount(), 0);
                writer.abandon();  // a second call does nothing
                EXPECT_EQ(common_.useCount(), 0);
            }
        }
        EXPECT_EQ(common_.useCount(), 0);
        EXPECT_EQ(ephemerisHeader_.useCount(), 0);
        const Bytes file = readFile(path("x.eph"));
        ASSERT_EQ(file.size(), 512u + 2 * 64);
        EXPECT_EQ(slice(file, 0, 140), commonAtOpen);
        EXPECT_EQ(slice(file, 140, 372), kindAtOpen);
        EXPECT_EQ(slice(file, 512 + 64, 64), bytesOf(record));
        common_.setRecordCount(0);
        ephemerisHeader_.setOrbits(0, 0, 0);
    }
}

TEST_F(FileWriterTest, RecordsAreBufferedUntilClose) {
    AttitudeFileWriter writer(path("x.att"), common_, attitudeHeader_);
    for (int n = 0; n < 100; ++n) writer.writeBlock(recordAt(2452640.5));
    EXPECT_EQ(fs::file_size(path("x.att")), 0u);  // headers and records still in the buffer
    writer.close();
    EXPECT_EQ(fs::file_size(path("x.att")), 512u + 100 * 64);
}

TEST_F(FileWriterTest, OpenFailureIsReportedAndCountsAreStillBalanced) {
    {
        EphemerisFileWriter writer(path("missing-directory/x.eph"), common_, ephemerisHeader_);
        EXPECT_TRUE(writer.openFailed());
        EXPECT_TRUE(writer.failed());
        EXPECT_EQ(writer.fileName(), path("missing-directory/x.eph"));
        EXPECT_EQ(common_.useCount(), 1);
        EXPECT_FALSE(writer.close());
        EXPECT_EQ(common_.useCount(), 0);
    }
    EXPECT_FALSE(fs::exists(path("missing-directory")));
}

TEST_F(FileWriterTest, NameEndsAtItsFirstNul) {
    const std::string value = path("x.eph") + std::string(1, '\0') + "rest";
    EphemerisFileWriter writer(value, common_, ephemerisHeader_);
    EXPECT_FALSE(writer.openFailed());
    EXPECT_EQ(writer.fileName(), value);  // messages show the whole value
    writer.close();
    EXPECT_EQ(fs::file_size(path("x.eph")), 512u);
}

TEST_F(FileWriterTest, WriteFailureOnAFullDeviceIsDetectedAtClose) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    EphemerisFileWriter writer("/dev/full", common_, ephemerisHeader_);
    ASSERT_FALSE(writer.openFailed());
    writer.writeBlock(recordAt(2452640.5));
    EXPECT_FALSE(writer.failed());  // still in the buffer
    EXPECT_FALSE(writer.close());
    EXPECT_TRUE(writer.failed());
    EXPECT_EQ(common_.useCount(), 0);
}

// A full buffer is written while the next one fills, so its failure shows when that one is
// handed over as well: never later, and at abandon() for a run that ends first.
TEST_F(FileWriterTest, WriteFailureIsSeenOnceTheNextBufferSpills) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    const EphemerisRecord record = recordAt(2452640.5);
    const std::size_t recordsInBuffer = ToolkitFileWriter::kBufferSize / 64;
    {
        AttitudeFileWriter writer("/dev/full", common_, attitudeHeader_);
        std::size_t written = 0;
        while (written < 2 * recordsInBuffer + 1 && !writer.failed()) {
            writer.writeBlock(record);
            ++written;
        }
        EXPECT_TRUE(writer.failed());
        // The headers take 512 bytes of the first buffer; the record that spills the second
        // buffer is the one after which the failure shows.
        EXPECT_EQ(written, 2 * recordsInBuffer - 512 / 64 + 1);
        writer.abandon();
        EXPECT_EQ(attitudeHeader_.useCount(), 0);
    }
    {
        AttitudeFileWriter writer("/dev/full", common_, attitudeHeader_);
        for (int n = 0; n < 10; ++n) writer.writeBlock(record);
        EXPECT_FALSE(writer.failed());
        writer.abandon();
        EXPECT_TRUE(writer.failed());
    }
}

// Blocks of every size reach the file whole and in order, whether they fit the rest of the
// buffer, fill it exactly, spill over it or are larger than the buffer itself.
TEST_F(FileWriterTest, BlocksOfAnySizeReachTheFileInOrder) {
    const std::size_t buffer = ToolkitFileWriter::kBufferSize;
    struct Case {
        const char* name;
        std::vector<std::size_t> sizes;  // after the 512 header bytes
    };
    const Case cases[] = {
        {"records up to an exactly full buffer, then one more", {buffer - 512 - 64, 64, 64}},
        {"a block that spills over the buffer", {buffer - 512 - 10, 32, 64}},
        {"a block larger than the buffer", {64, buffer + 100, 64, 32}},
        {"a block exactly the buffer size", {buffer, 64}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes expected;
        {
            EphemerisFileWriter writer(path("sizes.eph"), common_, ephemerisHeader_);
            expected = bytesOf(common_);
            const Bytes kind = bytesOf(ephemerisHeader_);
            expected.insert(expected.end(), kind.begin(), kind.end());
            std::uint8_t fill = 1;
            for (std::size_t size : c.sizes) {
                storebase block(static_cast<std::uint32_t>(size));
                for (std::size_t n = 0; n < size; ++n) block.data()[n] = static_cast<std::uint8_t>(fill + n * 7);
                ++fill;
                writer.writeBlock(block);
                const Bytes bytes = bytesOf(block);
                expected.insert(expected.end(), bytes.begin(), bytes.end());
            }
            EXPECT_TRUE(writer.close());
        }
        EXPECT_EQ(readFile(path("sizes.eph")), expected);
    }
}

}  // namespace
}  // namespace kova
