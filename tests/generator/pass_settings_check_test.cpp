// Settings kovagen must refuse before it writes anything (gaps and duplicates outside the
// pass, orbits inside the Earth, element set files that are not files), and the sequence
// counts of a generated pass, which a report would otherwise read as losses.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "generator/element_set.h"
#include "generator/pass_generator.h"
#include "generator/pass_time.h"
#include "packets/packet_census.h"
#include "packets/packet_layout.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"

namespace kova::generator {
namespace {

TEST(PassSettingsCheck, GapsAndDuplicatesMustLieInsideThePassAndTheOrbitAboveTheEarth) {
    struct Case {
        const char* name;
        std::vector<PassGap> gaps;
        std::vector<std::uint32_t> duplicates;
        double meanMotion;  // revolutions per day
        const char* refusal;  // nullptr: accepted
        double inclination = 98.2071;  // degrees
    };
    const Case cases[] = {
        {"the defaults", {}, {}, 14.57107046, nullptr},
        {"a gap ending one packet before the end", {{7189, 10}}, {7199}, 14.57107046, nullptr},
        {"a gap after the end", {{9000, 10}}, {}, 14.57107046, "the gap 9000:10 does not lie inside the pass of 7200 s"},
        {"a gap with no packet after it", {{7190, 10}}, {}, 14.57107046, "the gap 7190:10"},
        {"a gap running past 32 bits", {{10, 4294967295u}}, {}, 14.57107046, "the gap 10:4294967295"},
        {"a duplicate after the end", {}, {7200}, 14.57107046, "the duplicate at 7200 s lies outside"},
        {"an orbit inside the Earth", {}, {}, 99999999999.0, "describes no orbit above the Earth"},
        {"a perigee just below the surface", {}, {}, 17.2, "describes no orbit above the Earth"},
        {"an inclination too wide for its columns", {}, {}, 14.57107046, "does not fit its columns", 1000.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PassSettings settings;
        settings.durationSeconds = 7200;
        settings.gaps = c.gaps;
        settings.duplicates = c.duplicates;
        settings.elementSet.meanMotionRevsPerDay = c.meanMotion;
        settings.elementSet.inclinationDegrees = c.inclination;
        std::string error;
        const bool accepted = checkPassSettings(settings, error);
        if (c.refusal == nullptr) {
            EXPECT_TRUE(accepted) << error;
        } else {
            EXPECT_FALSE(accepted);
            EXPECT_NE(error.find(c.refusal), std::string::npos) << error;
        }
    }
    // The line itself is never written cut short.
    ElementSet inside = defaultElementSet();
    inside.meanMotionRevsPerDay = 99999999999.0;
    EXPECT_THROW(formatLine2(inside), std::invalid_argument);
}

TEST(ElementSetFile, OnlyARegularFileWithinTheBoundIsRead) {
    test::TemporaryDirectory directory;
    const std::string good = directory.file("good.tle").string();
    {
        std::ofstream out(good);
        writeNoradFile(out, defaultElementSet());
    }
    const std::string fifo = directory.file("fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string large = directory.file("large.tle").string();
    {
        std::ofstream out(large);
        writeNoradFile(out, defaultElementSet());
    }
    std::filesystem::resize_file(large, kElementSetFileLimit + 1);  // sparse: costs no disk

    struct Case {
        std::string file;
        const char* error;  // nullptr: read
    };
    const Case cases[] = {
        {good, nullptr},
        {"/dev/zero", "/dev/zero: not a regular file"},
        {fifo, ": not a regular file"},
        {directory.path().string(), ": not a regular file"},
        {large, ": larger than 16 MiB"},
        {directory.file("missing.tle").string(), "cannot open element set file "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ElementSet set;
        std::string error;
        const auto started = std::chrono::steady_clock::now();
        const bool read = readElementSetFile(c.file, "MARU", set, error);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
        if (c.error == nullptr) {
            EXPECT_TRUE(read) << error;
            EXPECT_EQ(set.meanMotionRevsPerDay, defaultElementSet().meanMotionRevsPerDay);
        } else {
            EXPECT_FALSE(read);
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        }
    }
}

TEST(GeneratedPass, EveryApidCountsItsOwnSequenceSoNoBreakIsReported) {
    test::TemporaryDirectory directory;
    PassSettings settings;
    settings.startSeconds = defaultStartTai58Seconds(settings.elementSet);
    settings.durationSeconds = 300;
    settings.otherPacketsPerNavPacket = 3;
    const auto file = test::writeGeneratedPass(directory.file("pass.kov"), settings);
    const PacketCensus census(file.string());
    ASSERT_GT(census.apids().size(), 2u);
    for (const ApidCensus& apid : census.apids()) EXPECT_EQ(apid.sequenceBreaks, 0u) << "APID " << apid.apid;
}

}  // namespace
}  // namespace kova::generator
