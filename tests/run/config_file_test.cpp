#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/run_stop.h"
#include "run/options.h"

namespace kova {
namespace {

namespace fs = std::filesystem;

class ConfigFileTest : public testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() /
                     ("kova_config_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    std::string writeFile(const std::string& text) {
        const fs::path path = directory_ / "run.cfg";
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    // Reads `text` as the configuration file over the defaults.
    ConfigFileOptions read(const std::string& text) {
        commandLine_.setOption("-configfile", writeFile(text));
        ConfigFileOptions config;
        readConfigFile(commandLine_, config, err_);
        return config;
    }

    fs::path directory_;
    CommandLineOptions commandLine_;
    std::ostringstream err_;
};

TEST_F(ConfigFileTest, NoConfigFileLeavesTheDefaults) {
    ConfigFileOptions config;
    readConfigFile(commandLine_, config, err_);
    EXPECT_EQ(config.entries(), ConfigFileOptions().entries());
}

TEST_F(ConfigFileTest, ValuesKeepInnerBlanksAndLoseOuterOnes) {
    const ConfigFileOptions config = read(
        "-station   Ground  Site 7  \n"
        "\t-packetfile\t my file.kov\t\n"
        "\n"
        "   \n"
        "-noradsatname SELA\n"
        "-listconfig\n"
        "# note\n"
        "-version 3.1");  // last line without a line feed still counts
    EXPECT_EQ(config.getOption("-station"), "Ground  Site 7");
    EXPECT_EQ(config.getOption("-packetfile"), "my file.kov");
    EXPECT_EQ(config.getOption("-noradsatname"), "SELA");
    EXPECT_EQ(config.getOption("-listconfig"), "");
    EXPECT_EQ(config.getOption("#"), "note");
    EXPECT_EQ(config.getOption("-version"), "3.1");
    EXPECT_EQ(config.getOption("-diag_1"), "no");
    EXPECT_EQ(err_.str(), "");
}

TEST_F(ConfigFileTest, CrLfLinesReadLikeLfLines) {
    const ConfigFileOptions config = read("-station  DB 2 \r\n-listconfig\r\n-version\t4.0\r\n");
    EXPECT_EQ(config.getOption("-station"), "DB 2");
    EXPECT_EQ(config.getOption("-listconfig"), "");
    EXPECT_EQ(config.getOption("-version"), "4.0");
}

TEST_F(ConfigFileTest, FinalKeywordWithoutValueOrLineFeedIsDropped) {
    const ConfigFileOptions config = read("-station X\n-listconfig");
    EXPECT_EQ(config.getOption("-station"), "X");
    EXPECT_EQ(config.getOption("-listconfig"), "no");
}

TEST_F(ConfigFileTest, LaterLineWins) {
    const ConfigFileOptions config = read("-station A\n-station B\n");
    EXPECT_EQ(config.getOption("-station"), "B");
}

TEST_F(ConfigFileTest, EmptyFileChangesNothing) {
    EXPECT_EQ(read("").entries(), ConfigFileOptions().entries());
    EXPECT_EQ(read("\n\n \t\n").entries(), ConfigFileOptions().entries());
}

TEST_F(ConfigFileTest, MissingFileIsReportedWithItsKind) {
    const std::string name = (directory_ / "absent.cfg").string();
    commandLine_.setOption("-configfile", name);
    ConfigFileOptions config;
    try {
        readConfigFile(commandLine_, config, err_);
        FAIL() << "no stop";
    } catch (const RunStop& stop) {
        EXPECT_EQ(stop.status, -1);
    }
    EXPECT_EQ(err_.str(), "\nFile Open failed for configuration file:  " + name + "\n");
}

TEST_F(ConfigFileTest, NameIsOpenedUpToAnEmbeddedNul) {
    const std::string path = writeFile("-station Opened\n");
    const std::string name = path + std::string("\0ignored", 8);
    commandLine_.setOption("-configfile", name);
    ConfigFileOptions config;
    readConfigFile(commandLine_, config, err_);
    EXPECT_EQ(config.getOption("-station"), "Opened");
}

TEST_F(ConfigFileTest, CommandLineOverridesTheConfigFileAndNamesFollow) {
    const char* argv[] = {"kova", "-configfile", "", "-packetfile", "cli.kov", "-station", ""};
    const std::string name = writeFile("-packetfile cfg.kov\n-station CfgSite\n-attitudefile keep.att\n");
    argv[2] = name.c_str();
    CommandLineOptions commandLine;
    parseCommandLine(7, argv, commandLine, err_);
    ConfigFileOptions config;
    readConfigFile(commandLine, config, err_);
    mergeCommandLine(commandLine, config);
    applyDefaultFileNames(config);
    EXPECT_EQ(config.getOption("-packetfile"), "cli.kov");
    EXPECT_EQ(config.getOption("-station"), "CfgSite");
    EXPECT_EQ(config.getOption("-ephemerisfile"), "cli.eph");
    EXPECT_EQ(config.getOption("-attitudefile"), "keep.att");
}

}  // namespace
}  // namespace kova
