#include "tests/export/message_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "export/export_run.h"
#include "export/kvn_text.h"
#include "run/processing_run.h"

namespace kova::test {

namespace fs = std::filesystem;

namespace {

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> all;
    for (std::string word; in >> word;) all.push_back(word);
    return all;
}

}  // namespace

Message readMessage(const fs::path& file) {
    std::ifstream in(file);
    Message message;
    std::getline(in, message.versionLine);
    bool inMeta = false;
    MessageSegment* segment = nullptr;
    for (std::string line; std::getline(in, line);) {
        const std::string text = trimmed(line);
        if (text.empty() || text == "DATA_START" || text == "DATA_STOP") continue;
        if (text == "META_START") {
            message.segments.emplace_back();
            segment = &message.segments.back();
            inMeta = true;
            continue;
        }
        if (text == "META_STOP") {
            inMeta = false;
            continue;
        }
        if (text.rfind("COMMENT", 0) == 0) {
            const std::string comment = text.size() > 8 ? text.substr(8) : "";
            (segment ? segment->comments : message.headerComments).push_back(comment);
            continue;
        }
        const std::size_t equals = text.find('=');
        if (segment == nullptr || inMeta) {
            (segment ? segment->meta : message.header)[trimmed(text.substr(0, equals))] = trimmed(text.substr(equals + 1));
            continue;
        }
        std::vector<std::string> fields = words(text);
        DataLine data;
        data.epoch = fields.front();
        data.fields.assign(fields.begin() + 1, fields.end());
        for (const std::string& field : data.fields) data.values.push_back(std::strtod(field.c_str(), nullptr));
        segment->lines.push_back(std::move(data));
    }
    return message;
}

double tai93FromEpochText(const std::string& epoch) {
    const auto number = [&epoch](std::size_t at, std::size_t length) { return std::stoll(epoch.substr(at, length)); };
    const std::int64_t days = kvn::daysFromCivil(number(0, 4), static_cast<unsigned>(number(5, 2)),
                                                 static_cast<unsigned>(number(8, 2))) -
                              kvn::kDays1970To1993;
    const std::int64_t microseconds =
        days * kvn::kMicrosecondsPerDay +
        (number(11, 2) * 3600 + number(14, 2) * 60 + number(17, 2)) * 1000000 + number(20, 6);
    return static_cast<double>(microseconds) / 1e6 - kvn::kTai93ZeroAfter1993;
}

RunOutput runKovaExport(const std::vector<std::string>& arguments) {
    return runInProcess(&runExport, "kovaexport", arguments);
}

RunOutput runKovaProgram(const std::vector<std::string>& words) { return runInProcess(&runKova, "kova", words); }

namespace {

// Marks the running test as skipped, with the reason, when the checker cannot run; the test's
// other checks still count, but it no longer reads as a pass of the checker.
void skipWithoutChecker(const std::string& reason) { GTEST_SKIP() << reason; }

}  // namespace

std::vector<std::string> checkerVerdicts(const std::vector<fs::path>& files) {
    const fs::path checker = fs::path(KOVA_SOURCE_DIR) / ".." / "shared" / "tools" / "ccsds_check.py";
    if (!fs::exists(checker)) {
        skipWithoutChecker("the acceptance checker " + checker.lexically_normal().string() + " is missing");
        return {};
    }
    if (std::system("command -v python3 >/dev/null 2>&1") != 0) {
        skipWithoutChecker("python3, which runs the acceptance checker, is missing");
        return {};
    }
    std::string command = "python3 '" + checker.string() + "' --pedantic --unit-quaternions";
    for (const fs::path& file : files) command += " '" + file.string() + "'";
    std::vector<std::string> verdicts;
    if (FILE* pipe = ::popen((command + " 2>&1").c_str(), "r")) {
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) verdicts.emplace_back(buffer);
        ::pclose(pipe);
    }
    return verdicts;
}

}  // namespace kova::test
