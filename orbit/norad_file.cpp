#include "orbit/norad_file.h"

#include "core/file_identity.h"

namespace kova {
namespace {

bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isBlankLine(const std::string& line) {
    for (const char c : line) {
        if (!isWhiteSpace(c)) return false;
    }
    return true;
}

std::string searchKey(const std::string& satelliteName) {
    if (satelliteName.empty() || isWhiteSpace(satelliteName.front())) {
        return std::string(kBlankSatelliteName);
    }
    return satelliteName;
}

}  // namespace

NoradFile::NoradFile(const std::string& fileName, const std::string& satelliteName)
    : fileName_(fileName),
      satelliteName_(searchKey(satelliteName)) {
    // Only a regular file is a norad file: a directory reads as empty, and a device or a pipe
    // may never end (or block before the first byte).
    if (namesRegularFile(fileName)) input_.open(fileName);
    open_ = input_.is_open();
}

bool NoradFile::readLine(std::string& line) {
    while (std::getline(input_, line)) {
        if (!isBlankLine(line)) return true;
    }
    line.clear();
    return false;
}

bool NoradFile::findElementSet() {
    std::string line;
    while (readLine(line)) {
        if (line.find(satelliteName_) == std::string::npos) continue;
        nameLine_ = line;
        return readLine(line1_) && readLine(line2_);
    }
    return false;
}

}  // namespace kova
