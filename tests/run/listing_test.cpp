#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

#include "run/options.h"

namespace kova {
namespace {

constexpr std::int64_t kJuly30At140505 = 1059573905;  // 2003-07-30 14:05:05 UTC

struct Tables {
    CommandLineOptions commandLine;
    ConfigFileOptions config;
};

Tables settled(int argc, const char* const* argv) {
    Tables tables;
    std::ostringstream err;
    parseCommandLine(argc, argv, tables.commandLine, err);
    mergeCommandLine(tables.commandLine, tables.config);
    applyDefaultFileNames(tables.config);
    return tables;
}

TEST(Listing, FileNamesOnlyUnlessListconfigIsExactlyYes) {
    for (const char* value : {"no", "YES", "Yes", "yes "}) {
        const char* argv[] = {"kova", "-packetfile", "data.kov", "-listconfig", value};
        const Tables tables = settled(5, argv);
        std::ostringstream out;
        listConfiguration(tables.commandLine, tables.config, out, kJuly30At140505);
        EXPECT_EQ(out.str(), "\nPacket file:data.kov\nEphemeris file:data.eph\nAttitude file:data.att\n")
            << value;
    }
}

TEST(Listing, NoArgumentsListsTheDerivedNames) {
    const char* argv[] = {"kova"};
    const Tables tables = settled(1, argv);
    std::ostringstream out;
    listConfiguration(tables.commandLine, tables.config, out, kJuly30At140505);
    EXPECT_EQ(out.str(), "\nPacket file:\nEphemeris file:.eph\nAttitude file:.att\n");
}

TEST(Listing, FullListing) {
    const char* argv[] = {"kova", "-packetfile", "data.kov", "-listconfig", "yes", "-extra", "1"};
    const Tables tables = settled(7, argv);
    std::ostringstream out;
    listConfiguration(tables.commandLine, tables.config, out, kJuly30At140505);
    const std::string expected =
        "\nPacket file:data.kov\nEphemeris file:data.eph\nAttitude file:data.att\n"
        "\nKOVA MARU 2003/07/30 14:05:05\n"
        "\nCommand Line Options---\n"
        "-attitudefile\t\t\n-configfile\t\t\n-debug_1\t\t\n-debug_2\t\t\n-debug_3\t\t\n"
        "-diag_1\t\t\n-diag_2\t\t\n-diag_3\t\t\n-ephemerisfile\t\t\n-extra\t\t1\n"
        "-listconfig\t\tyes\n-noradfile\t\t\n-noradsatname\t\t\n-packetfile\t\tdata.kov\n"
        "-pkt_count\t\t\n-pkt_offset\t\t\n-station\t\t\n-version\t\t\n-xtksatname\t\t\n"
        "\nConfig. File Options---\n"
        "-attitudefile\t\tdata.att\n-debug_1\t\tno\n-debug_2\t\tno\n-debug_3\t\tno\n"
        "-diag_1\t\tno\n-diag_2\t\tno\n-diag_3\t\tno\n-ephemerisfile\t\tdata.eph\n"
        "-listconfig\t\tyes\n-noradfile\t\t\n-noradsatname\t\tMARU\n-packetfile\t\tdata.kov\n"
        "-pkt_count\t\t0\n-pkt_offset\t\t0\n-station\t\tDB\n-version\t\t2.0\n-xtksatname\t\tKALPM1\n"
        "\n";
    EXPECT_EQ(out.str(), expected);
}

TEST(Listing, SystemClockStampHasTheListingFormat) {
    const char* argv[] = {"kova", "-listconfig", "yes", "-noradsatname", "SELA"};
    const Tables tables = settled(5, argv);
    std::ostringstream out;
    listConfiguration(tables.commandLine, tables.config, out);
    EXPECT_TRUE(std::regex_search(out.str(), std::regex("\nKOVA SELA [0-9]{4}/[01][0-9]/[0-3][0-9] "
                                                        "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]\n")))
        << out.str();
}

}  // namespace
}  // namespace kova
