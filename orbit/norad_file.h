#pragma once
// The norad file: a text file of element sets of many spacecraft. The set wanted follows
// the first line that holds the satellite name.
#include <fstream>
#include <iosfwd>
#include <string>
#include <string_view>

#include "orbit/tle_record.h"

namespace kova {

// The spacecraft whose element set kova looks for when no other name is given.
inline constexpr std::string_view kDefaultNoradSatName = "MARU";
// Search key used when the satellite name is empty or begins with white space.
inline constexpr std::string_view kBlankSatelliteName = "$$$$";

class NoradFile {
public:
    // Opens `fileName` for reading; `satelliteName` is the key of the set wanted.
    NoradFile(const std::string& fileName, const std::string& satelliteName);

    // False too for anything but a regular file (a directory, a device, a pipe).
    bool isOpen() const { return open_; }
    const std::string& fileName() const { return fileName_; }
    const std::string& satelliteName() const { return satelliteName_; }

    // Finds the first line holding the satellite name (byte-exact, anywhere in the line)
    // and reads the next two lines as line 1 and line 2. False when the file ends first.
    bool findElementSet();
    // The line that held the satellite name (the set's name line, not part of the set).
    const std::string& nameLine() const { return nameLine_; }
    const std::string& line1() const { return line1_; }
    const std::string& line2() const { return line2_; }

private:
    // The next line that holds a character other than white space; false at the end.
    bool readLine(std::string& line);

    std::string fileName_;
    std::string satelliteName_;
    std::ifstream input_;
    bool open_ = false;
    std::string nameLine_;
    std::string line1_;
    std::string line2_;
};

}  // namespace kova
