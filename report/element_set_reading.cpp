#include "report/element_set_reading.h"

#include "orbit/norad_file.h"
#include "orbit/tle_parser.h"

namespace kova::report {
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
    facts.nameLine = file.nameLine();
    const TleLinesRead read = parseTle(file.line1(), file.line2(), tle);
    facts.line1ChecksumGood = read.line1ChecksumMatches;
    facts.line2ChecksumGood = read.line2ChecksumMatches;
    for (const std::string_view problem : elementSetProblems(read, tle)) facts.problems.emplace_back(problem);
    return ElementSetRead::kRead;
}

}  // namespace kova::report
