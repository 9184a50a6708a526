// Writes the SPK and CK of a small pass into a fresh directory and has Debian's python3-jplephem,
// a DAF reader written independently of kova, read them back (check_with_jplephem.py): so that
// a layout misread the same way by kova's writer and the tests' own reader still fails.
// Exit status 77 (reported as skipped) when /usr/bin/python3 or its jplephem module is missing.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "spice/spice_export.h"
#include "tests/spice/synthetic_pass.h"

namespace {

constexpr int kSkipped = 77;
constexpr const char* kPython = "/usr/bin/python3";

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') quoted += "'\\''";
        else quoted.push_back(c);
    }
    return quoted + "'";
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kova;
    if (argc != 2) {
        std::fprintf(stderr, "usage: kova_spice_jplephem_check CHECK_SCRIPT.py\n");
        return 2;
    }
    if (access(kPython, X_OK) != 0) {
        std::printf("SKIPPED: %s is missing\n", kPython);
        return kSkipped;
    }
    if (std::system((std::string(kPython) + " -c 'import jplephem' >/dev/null 2>&1").c_str()) != 0) {
        std::printf("SKIPPED: the python3-jplephem module is missing\n");
        return kSkipped;
    }

    // A stretch of 150 records (a directory entry) with fills and a repeated tag, a lone record,
    // a stretch of three records.
    std::vector<SpiceInputRecord> records;
    for (std::int64_t s = 0; s < 150; ++s) {
        records.push_back(test::passRecord(records.size(), test::passTag(s, static_cast<std::uint16_t>(s * 7)),
                                           s % 50 == 7 ? kFillRecordFlag : 0));
        if (s == 70) records.push_back(test::passRecord(records.size(), test::passTag(70, 490)));
    }
    records.push_back(test::passRecord(records.size(), test::passTag(300)));
    for (std::int64_t s = 400; s < 403; ++s) records.push_back(test::passRecord(records.size(), test::passTag(s, 9)));

    SpiceKernelSet set(test::maruSettings("/some/where/pass.kov"), records.size());
    for (const SpiceInputRecord& record : records) set.add(record);
    if (!set.finish()) {
        std::fprintf(stderr, "%s\n", set.error().c_str());
        return 1;
    }
    test::StringSink spk, ck;
    if (!set.writeSpk(spk) || !set.writeCk(ck)) {
        std::fprintf(stderr, "%s\n", set.error().c_str());
        return 1;
    }

    std::string pattern = (std::filesystem::temp_directory_path() / "kova-spice-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path directory = pattern;
    writeFile(directory / "pass.bsp", spk.bytes);
    writeFile(directory / "pass.bc", ck.bytes);
    writeFile(directory / "comments.txt", set.comments());
    // What the script compares with: the internal name, then per segment its records' tags,
    // states (m, m/s) and quaternions (q4 scalar last), exactly as given.
    std::string expected = "name " + set.internalFileName() + "\n";
    for (const SpiceSegment& segment : set.segments()) {
        expected += "segment " + std::to_string(segment.count) + "\n";
        std::size_t index = segment.first;
        for (const SpiceInputRecord& record : records) {
            if (index == segment.first + segment.count) break;
            if (record.tag != set.exportedTag(index)) continue;
            ++index;
            char line[512];
            std::snprintf(line, sizeof line,
                          "record %lld %u %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g\n",
                          static_cast<long long>(record.tag.seconds), record.tag.subsecondCount, record.position[0],
                          record.position[1], record.position[2], record.velocity[0], record.velocity[1],
                          record.velocity[2], record.quaternion[0], record.quaternion[1], record.quaternion[2],
                          record.quaternion[3]);
            expected += line;
        }
    }
    writeFile(directory / "expected.txt", expected);

    const int status = std::system((std::string(kPython) + " " + shellQuoted(argv[1]) + " " +
                                    shellQuoted(directory.string())).c_str());
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
    return status == 0 ? 0 : 1;
}
