#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/file_kind.h"
#include "core/run_stop.h"
#include "run/options.h"

namespace kova {
namespace {

TEST(OptionTables, RegisteredKeywordsAndDefaults) {
    CommandLineOptions commandLine;
    EXPECT_EQ(commandLine.entries().size(), 18u);
    for (const auto& [keyword, value] : commandLine.entries()) EXPECT_EQ(value, "") << keyword;
    EXPECT_EQ(commandLine.entries().count("-configfile"), 1u);

    ConfigFileOptions config;
    EXPECT_EQ(config.entries().size(), 17u);
    EXPECT_EQ(config.entries().count("-configfile"), 0u);
    const std::pair<const char*, const char*> defaults[] = {
        {"-version", "2.0"},     {"-station", "DB"},        {"-packetfile", ""},
        {"-noradfile", ""},      {"-ephemerisfile", ""},    {"-attitudefile", ""},
        {"-noradsatname", "MARU"}, {"-xtksatname", "KALPM1"}, {"-listconfig", "no"},
        {"-pkt_offset", "0"},    {"-pkt_count", "0"},       {"-diag_1", "no"},
        {"-diag_2", "no"},       {"-diag_3", "no"},         {"-debug_1", "no"},
        {"-debug_2", "no"},      {"-debug_3", "no"},
    };
    for (const auto& [keyword, value] : defaults) EXPECT_EQ(config.getOption(keyword), value) << keyword;
}

TEST(CommandLine, PairsAreStoredAndTheLaterOneWins) {
    const char* argv[] = {"kova", "-packetfile", "a.kov", "-unknown", "v", "-packetfile", "b.kov",
                          "-ephemerisfile", ""};
    CommandLineOptions options;
    std::ostringstream err;
    parseCommandLine(9, argv, options, err);
    EXPECT_EQ(options.getOption("-packetfile"), "b.kov");
    EXPECT_EQ(options.getOption("-unknown"), "v");
    EXPECT_EQ(options.getOption("-ephemerisfile"), "");
    EXPECT_EQ(err.str(), "");
}

TEST(CommandLine, ProgramNameAloneIsValid) {
    const char* argv[] = {"kova"};
    CommandLineOptions options;
    std::ostringstream err;
    parseCommandLine(1, argv, options, err);
    EXPECT_EQ(options.entries().size(), 18u);
    EXPECT_EQ(err.str(), "");
}

TEST(CommandLine, EvenArgumentCountEchoesEveryArgumentAndStops) {
    const char* argv[] = {"./kova", "-packetfile", "a b.kov", "-listconfig"};
    CommandLineOptions options;
    std::ostringstream err;
    try {
        parseCommandLine(4, argv, options, err);
        FAIL() << "no stop";
    } catch (const RunStop& stop) {
        EXPECT_EQ(stop.status, -1);
    }
    const std::string echo = "\nBad Command Line:\n    ./kova -packetfile a b.kov -listconfig \n";
    ASSERT_EQ(err.str().substr(0, echo.size()), echo);
    // A usage summary follows the echo and points at the manual.
    const std::string help = err.str().substr(echo.size());
    EXPECT_EQ(help.rfind("\nusage: kova -packetfile FILE [-keyword value ...]\n", 0), 0u);
    EXPECT_NE(help.find("kova(1)"), std::string::npos);
    EXPECT_EQ(options.getOption("-packetfile"), "");  // nothing is stored
}

TEST(Merge, OnlyNonEmptySettingsOverride) {
    CommandLineOptions commandLine;
    commandLine.setOption("-station", "Site 9");
    commandLine.setOption("-ephemerisfile", "");
    commandLine.setOption("-configfile", "run.cfg");
    commandLine.setOption("-unknown", "x");
    ConfigFileOptions config;
    config.setOption("-ephemerisfile", "from_config.eph");
    mergeCommandLine(commandLine, config);
    EXPECT_EQ(config.getOption("-station"), "Site 9");
    EXPECT_EQ(config.getOption("-ephemerisfile"), "from_config.eph");
    EXPECT_EQ(config.getOption("-version"), "2.0");
    EXPECT_EQ(config.entries().count("-configfile"), 0u);
    EXPECT_EQ(config.entries().count("-unknown"), 0u);
}

TEST(DefaultFileNames, DerivedFromThePacketFileName) {
    struct Case {
        const char* packetFile;
        const char* ephemeris;
        const char* attitude;
    };
    const Case cases[] = {
        {"data.kov", "data.eph", "data.att"},
        {"a.kov.b.kov", "a.kov.b.eph", "a.kov.b.att"},  // last occurrence
        {"data.KOV", "data.KOV.eph", "data.KOV.att"},   // case-sensitive
        {".kov", ".kov.eph", ".kov.att"},               // not cut at position 0
        {"dir/x.kovfile", "dir/x.eph", "dir/x.att"},    // anywhere, not only at the end
        {"plain", "plain.eph", "plain.att"},
        {"", ".eph", ".att"},
    };
    for (const Case& c : cases) {
        ConfigFileOptions config;
        config.setOption("-packetfile", c.packetFile);
        applyDefaultFileNames(config);
        EXPECT_EQ(config.getOption("-ephemerisfile"), c.ephemeris) << c.packetFile;
        EXPECT_EQ(config.getOption("-attitudefile"), c.attitude) << c.packetFile;
        EXPECT_EQ(config.getOption("-packetfile"), c.packetFile);
    }
}

TEST(DefaultFileNames, GivenNamesAreKept) {
    ConfigFileOptions config;
    config.setOption("-packetfile", "data.kov");
    config.setOption("-attitudefile", "mine.att");
    applyDefaultFileNames(config);
    EXPECT_EQ(config.getOption("-ephemerisfile"), "data.eph");
    EXPECT_EQ(config.getOption("-attitudefile"), "mine.att");
}

TEST(FileOpenFailure, DetailAndMessage) {
    EXPECT_EQ(fileNameDetail("out.eph"), " out.eph");
    EXPECT_EQ(fileNameDetail(" \t x"), "  \t x");
    EXPECT_EQ(fileNameDetail(""), " no file name given");
    EXPECT_EQ(fileNameDetail(" \t "), " no file name given");

    std::ostringstream err;
    EXPECT_THROW(reportFileOpenFailure(file_kind::kEphemeris, "no/such/dir/x.eph", err), RunStop);
    EXPECT_EQ(err.str(), "\nFile Open failed for ephemeris file:  no/such/dir/x.eph\n");
    std::ostringstream blank;
    try {
        reportFileOpenFailure(file_kind::kNorad, "  ", blank);
    } catch (const RunStop& stop) {
        EXPECT_EQ(stop.status, -1);
    }
    EXPECT_EQ(blank.str(), "\nFile Open failed for norad file:  no file name given\n");
}

}  // namespace
}  // namespace kova
