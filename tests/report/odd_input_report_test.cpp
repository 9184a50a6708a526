// What the report makes of inputs no recorder should produce but files can hold: bytes that
// are not UTF-8 or are control codes in names, time tags that repeat or step back, a gap
// wider than its table column, a pass without fill records.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "generator/element_set.h"
#include "report/html_page.h"
#include "report/input_text.h"
#include "report/json_report.h"
#include "report/json_writer.h"
#include "report/pass_analysis.h"
#include "report/text_report.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"
#include "time/time_scales.h"

namespace kova::report {
namespace {

using test::PacketFileBuilder;

constexpr double kJulianDateGrain = 4.1e-5;  // seconds, near 2.45e6 days

TEST(ReportInputText, WellFormedUtf8IsKeptAndEveryOtherByteOrControlIsEscaped) {
    struct Case {
        std::string raw;
        const char* json;       // the JSON string, quotes included
        const char* printable;  // for the terminal and the page
    };
    const Case cases[] = {
        {"MARU-1", "\"MARU-1\"", "MARU-1"},
        {"caf\xC3\xA9", "\"caf\xC3\xA9\"", "caf\xC3\xA9"},                         // U+00E9 as UTF-8
        {"caf\xE9", "\"caf\\u00e9\"", "caf\\xE9"},                                 // Latin-1 byte
        {"\xF0\x9F\x9B\xB0", "\"\xF0\x9F\x9B\xB0\"", "\xF0\x9F\x9B\xB0"},           // four bytes
        {"\x1B[2J\a", "\"\\u001b[2J\\u0007\"", "\\x1B[2J\\x07"},                    // C0 controls
        {"a\x7F" "b", "\"a\\u007fb\"", "a\\x7Fb"},                                  // DEL
        {"\xC2\x9B" "31m", "\"\\u009b31m\"", "\\xC2\\x9B31m"},                      // C1 control (CSI)
        {"\xC0\xAF", "\"\\u00c0\\u00af\"", "\\xC0\\xAF"},                           // overlong '/'
        {"\xED\xA0\x80", "\"\\u00ed\\u00a0\\u0080\"", "\\xED\\xA0\\x80"},           // surrogate
        {"\xF4\x90\x80\x80", "\"\\u00f4\\u0090\\u0080\\u0080\"", "\\xF4\\x90\\x80\\x80"},  // above U+10FFFF
        {"\xE2\x82", "\"\\u00e2\\u0082\"", "\\xE2\\x82"},                           // cut short
        {std::string("a\0b", 3), "\"a\\u0000b\"", "a\\x00b"},
        {"C:\\\"x\"", "\"C:\\\\\\\"x\\\"\"", "C:\\\\\"x\""},
    };
    for (const Case& c : cases) {
        JsonWriter json;
        json.string(c.raw);
        EXPECT_EQ(json.text(), c.json) << c.printable;
        EXPECT_EQ(printableText(c.raw), c.printable);
    }
}

// True when `text` is UTF-8 throughout and holds no control byte but the line ends.
bool isCleanUtf8(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t length = wellFormedUtf8Length(std::string_view(text).substr(at));
        if (length == 0) return false;
        const auto byte = static_cast<unsigned char>(text[at]);
        if (length == 1 && ((byte < 0x20 && byte != '\n') || byte == 0x7F)) return false;
        if (length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) <= 0x9F) return false;
        at += length;
    }
    return true;
}

class OddInputReport : public ::testing::Test {
protected:
    // Analyses the packets, with a norad file whose name line is `nameLine` when not empty.
    AnalysisOutcome analyse(const PacketFileBuilder& packets, const std::string& packetName = "pass.kov",
                            const std::string& nameLine = "") {
        AnalysisSettings settings;
        settings.packetFileName = packets.writeTo(directory_.file(packetName)).string();
        settings.satelliteName = "MARU";
        if (!nameLine.empty()) {
            settings.noradFileName = directory_.file("norad.tle").string();
            const generator::ElementSet set = generator::defaultElementSet();
            std::ofstream norad(settings.noradFileName, std::ios::binary);
            norad << nameLine << '\n' << generator::formatLine1(set) << '\n' << generator::formatLine2(set) << '\n';
        }
        report_ = PassReport{};
        return analysePass(settings, report_);
    }

    test::TemporaryDirectory directory_;
    PassReport report_;
};

TEST_F(OddInputReport, NamesOfAnyBytesGiveValidUtf8AndNoRawControlBytesInEveryForm) {
    PacketFileBuilder packets;
    for (std::uint32_t t = 0; t < 5; ++t) packets.navAt(t);
    const std::string hostile = "\x1B]0;owned\a\xE9\xC2\x9B" "2J";
    const AnalysisOutcome outcome = analyse(packets, "pass" + hostile + ".kov", "MARU " + hostile);
    ASSERT_TRUE(outcome.complete) << outcome.problem;
    report_.satelliteName = "MARU" + hostile;  // as if given on the command line

    const std::string text = textReport(report_);
    const std::string json = jsonReport(report_);
    const std::string page = htmlPage(report_);
    EXPECT_TRUE(isCleanUtf8(text));
    EXPECT_TRUE(isCleanUtf8(json));
    EXPECT_TRUE(isCleanUtf8(page));
    EXPECT_NE(text.find("name line                     : MARU \\x1B]0;owned\\x07\\xE9\\xC2\\x9B2J"), std::string::npos)
        << text;
    EXPECT_NE(json.find("\"name_line\": \"MARU \\u001b]0;owned\\u0007\\u00e9\\u009b2J\""), std::string::npos);
    EXPECT_NE(page.find("<pre>MARU \\x1B]0;owned\\x07\\xE9\\xC2\\x9B2J\n"), std::string::npos);
}

TEST_F(OddInputReport, SpanAndCoverageStayInRangeWhenTimeTagsRepeatOrStepBack) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::uint32_t, std::uint16_t>> times;  // seconds after the base, sub-second count
        double span;
        double coverage;
    };
    std::vector<std::pair<std::uint32_t, std::uint16_t>> repeated(300, {0, 0});
    std::vector<std::pair<std::uint32_t, std::uint16_t>> replayed;
    for (std::uint32_t t = 0; t < 100; ++t) replayed.push_back({t, 0});
    for (std::uint32_t t = 90; t < 100; ++t) replayed.push_back({t, 0});
    std::vector<std::pair<std::uint32_t, std::uint16_t>> halfSeconds;
    for (std::uint32_t t = 0; t < 50; ++t) halfSeconds.insert(halfSeconds.end(), {{t, 0}, {t, 32768}});
    const Case cases[] = {
        {"last earlier than first", {{1000, 0}, {0, 0}}, 1000.0, 1.0 / 1001.0},
        {"one repeated time", repeated, 0.0, 1.0},
        {"a replayed stretch", replayed, 99.0, 1.0},
        {"a gap and a step back", {{0, 0}, {1, 0}, {2, 0}, {300, 0}, {1, 0}, {301, 0}}, 301.0, 5.0 / 302.0},
        {"two packets a second", halfSeconds, 49.0 + 32768 * kSubsecondUnit, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PacketFileBuilder packets;
        for (const auto& [seconds, subseconds] : c.times) packets.navAt(seconds, subseconds);
        const AnalysisOutcome outcome = analyse(packets);
        ASSERT_TRUE(outcome.complete) << outcome.problem;
        const NavigationFacts& navigation = report_.navigation;
        EXPECT_NEAR(navigation.span, c.span, kJulianDateGrain);
        EXPECT_GE(navigation.span, 0.0);
        EXPECT_NEAR(navigation.coverage, c.coverage, 1e-6);
        EXPECT_GE(navigation.coverage, 0.0);
        EXPECT_LE(navigation.coverage, 1.0);
    }
}

TEST_F(OddInputReport, AGapWiderThanItsColumnStaysApartAndNoFillRecordsReadsNone) {
    PacketFileBuilder packets;
    packets.navAt(0).navAt(1).navAt(2800000001u).navAt(2800000002u);
    const AnalysisOutcome outcome = analyse(packets);
    ASSERT_TRUE(outcome.complete) << outcome.problem;
    const std::string text = textReport(report_);
    const std::size_t header = text.find("    start ");
    ASSERT_NE(header, std::string::npos) << text;
    const std::size_t row = text.find('\n', header) + 1;
    const std::string line = text.substr(row, text.find('\n', row) - row);
    // start, end, length, class, fill records: five fields apart.
    EXPECT_NE(line.find(".000 2800000000.000  flagged"), std::string::npos) << line;
    EXPECT_NE(text.find(", filled none\n"), std::string::npos) << text;
    EXPECT_NE(jsonReport(report_).find("\"filled\": null"), std::string::npos);
}

}  // namespace
}  // namespace kova::report
