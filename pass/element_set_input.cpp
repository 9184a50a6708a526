#include "pass/element_set_input.h"

#include "orbit/norad_file.h"

namespace kova {

std::optional<PassRefusal> readNoradElementSet(const std::string& noradFileName, const std::string& satelliteName,
                                          TleRecord& tle, ElementSetText& text) {
    NoradFile file(noradFileName, satelliteName);
    text.searchKey = file.satelliteName();
    if (!file.isOpen()) return PassRefusal::kNoradFileNotOpenable;
    if (!file.findElementSet()) return PassRefusal::kElementSetNotFound;
    text.nameLine = file.nameLine();
    text.line1 = file.line1();
    text.line2 = file.line2();
    // A set that is found but unfit is used all the same: archives hold sets with wrong
    // checksums that have always been used as they are. The problems go with it.
    text.linesRead = parseTle(file.line1(), file.line2(), tle);
    text.problems = elementSetProblems(text.linesRead, tle);
    return std::nullopt;
}

}  // namespace kova
