#include "report/element_set_reading.h"

#include <fstream>

#include "orbit/norad_file.h"
#include "orbit/tle_parser.h"

namespace kova::report {
namespace {

// The line NoradFile matched: the first one that holds the search key. NoradFile keeps only
// the two lines after it, so the file is read once more up to it.
std::string lineHolding(const std::string& fileName, const std::string& key) {
    std::ifstream input(fileName.c_str());
    std::string line;
    while (std::getline(input, line)) {
        if (line.find(key) != std::string::npos) return line;
    }
    return std::string();
}

}  // namespace

ElementSetRead readElementSet(const std::string& fileName, const std::string& satelliteName, TleRecord& tle,
                              ElementSetFacts& facts) {
    facts.read = true;
    facts.fileName = fileName;
    NoradFile file(fileName, satelliteName);
    facts.searchKey = file.satelliteName();
    if (!file.isOpen()) return ElementSetRead::kCannotOpen;
    if (!file.findElementSet()) return ElementSetRead::kNotFound;
    facts.line1 = file.line1();
    facts.line2 = file.line2();
    facts.nameLine = lineHolding(fileName, facts.searchKey);
    const TleLinesRead read = parseTle(file.line1(), file.line2(), tle);
    facts.line1ChecksumGood = read.line1ChecksumMatches;
    facts.line2ChecksumGood = read.line2ChecksumMatches;
    for (const std::string_view problem : elementSetProblems(read, tle)) facts.problems.emplace_back(problem);
    return ElementSetRead::kRead;
}

}  // namespace kova::report
