#pragma once
// Reads back what kovaexport wrote: a KVN message as header keywords and comments, and
// segments of metadata, comment lines and data lines; runs of kova and kovaexport in-process.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/in_process_run.h"

namespace kova::test {

struct DataLine {
    std::string epoch;
    std::vector<std::string> fields;  // the numbers as written
    std::vector<double> values;
};

struct MessageSegment {
    std::map<std::string, std::string> meta;
    std::vector<std::string> comments;  // text after "COMMENT "
    std::vector<DataLine> lines;
};

struct Message {
    std::string versionLine;
    std::map<std::string, std::string> header;
    std::vector<std::string> headerComments;
    std::vector<MessageSegment> segments;
};

Message readMessage(const std::filesystem::path& file);

// TAI93 seconds of an epoch text YYYY-MM-DDThh:mm:ss.ffffff (TAI).
double tai93FromEpochText(const std::string& epoch);

using ProgramRun = RunOutput;
RunOutput runKovaExport(const std::vector<std::string>& arguments);
RunOutput runKovaProgram(const std::vector<std::string>& words);

// The acceptance checker's verdicts, one line per file ("OK ..." or "FAIL ..."), with
// --pedantic --unit-quaternions. When the checker (../shared/tools/ccsds_check.py beside the
// source tree) or python3 is missing: empty, and the running test is marked skipped with the
// reason (its other checks still fail it).
std::vector<std::string> checkerVerdicts(const std::vector<std::filesystem::path>& files);

}  // namespace kova::test
