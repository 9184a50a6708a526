// The quick-look page rendered by a real browser: headless Chromium takes a screenshot and
// dumps the DOM it built. The screenshot must carry far more than a blank page of the same
// size does, and the DOM must hold the five charts with their titles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "generator/pass_generator.h"
#include "report/report_run.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"

namespace kova::report {
namespace {

namespace fs = std::filesystem;

constexpr const char* kChromium = "/usr/bin/chromium";
constexpr const char* kWindow = "1000,2400";
constexpr const char* kPngSignature = "\x89PNG\r\n\x1a\n";
// A blank page of the window's size compresses to a few kilobytes; the charts' lines and
// text do not.
constexpr std::size_t kShownOverBlank = 5;

std::string quoted(const std::string& text) { return "'" + text + "'"; }

// Renders `page` in a fresh profile (the machine may have no network: every background
// service is off), writing the screenshot and, when `dom` is given, the rendered DOM.
int render(const fs::path& profile, const fs::path& page, const fs::path& screenshot, const fs::path* dom) {
    fs::create_directories(profile);
    std::string command = std::string("timeout 60 ") + kChromium +
                          " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
                          " --disable-background-networking --disable-component-update --disable-sync"
                          " --hide-scrollbars --user-data-dir=" + quoted(profile.string()) +
                          " --window-size=" + kWindow + " --screenshot=" + quoted(screenshot.string());
    // Appended piece by piece: GCC 12 at -O3 warns wrongly (-Wrestrict) about "text" + string.
    if (dom != nullptr) command.append(" --dump-dom");
    command.append(" ").append(quoted("file://" + fs::absolute(page).string()));
    if (dom != nullptr) {
        command.append(" >").append(quoted(dom->string()));
    } else {
        command.append(" >/dev/null");
    }
    command.append(" 2>/dev/null </dev/null");
    return std::system(command.c_str());
}

TEST(QuickLookPage, RendersInHeadlessChromiumWithFiveCharts) {
    if (!fs::exists(kChromium)) {
        GTEST_SKIP() << "no browser installed at " << kChromium
                     << " (apt-get install chromium; .ci/run installs it): the page was not rendered";
    }
    test::TemporaryDirectory directory;
    generator::PassSettings settings;
    settings.durationSeconds = 7200;
    settings.gaps = {{1800, 5}, {3600, 90}};
    const auto pass = test::writeGeneratedPass(directory.file("pass.kov"), settings);
    const fs::path page = directory.file("pass.html");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(runReport({"--html", page.string(), pass.string()}, out, err), kExitComplete) << err.str();

    const fs::path blank = directory.file("blank.html");
    test::writeText(blank, "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body></body></html>\n");
    const fs::path dom = directory.file("dom.html");
    ASSERT_EQ(render(directory.file("profile-page"), page, directory.file("page.png"), &dom), 0);
    ASSERT_EQ(render(directory.file("profile-blank"), blank, directory.file("blank.png"), nullptr), 0);

    const std::vector<std::uint8_t> shot = test::readBytes(directory.file("page.png"));
    const std::vector<std::uint8_t> empty = test::readBytes(directory.file("blank.png"));
    ASSERT_GT(shot.size(), 24u);
    ASSERT_GT(empty.size(), 24u);
    EXPECT_EQ(std::string(shot.begin(), shot.begin() + 8), kPngSignature);
    // IHDR: width and height, big-endian, at bytes 16 and 20.
    auto word = [&](std::size_t at) {
        return (std::uint32_t{shot[at]} << 24) | (std::uint32_t{shot[at + 1]} << 16) | (std::uint32_t{shot[at + 2]} << 8) |
               std::uint32_t{shot[at + 3]};
    };
    EXPECT_EQ(word(16), 1000u);
    EXPECT_EQ(word(20), 2400u);
    EXPECT_GT(shot.size(), kShownOverBlank * empty.size())
        << "the screenshot (" << shot.size() << " bytes) holds little more than a blank page (" << empty.size() << ")";

    const std::string rendered = test::readText(dom);
    std::size_t charts = 0;
    for (std::size_t at = rendered.find("<svg class=\"chart\""); at != std::string::npos;
         at = rendered.find("<svg class=\"chart\"", at + 1)) {
        ++charts;
    }
    EXPECT_EQ(charts, 5u);
    for (const char* id : {"ground-track", "height", "attitude-angles", "gap-timeline", "node-differences"}) {
        EXPECT_NE(rendered.find(std::string("id=\"") + id + "\""), std::string::npos) << id;
        EXPECT_NE(rendered.find(std::string("<title id=\"") + id + "-title\">"), std::string::npos) << id;
    }
    EXPECT_NE(rendered.find("<section id=\"summary\">"), std::string::npos);
}

}  // namespace
}  // namespace kova::report
