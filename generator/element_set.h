#pragma once
// The two-line element set a pass is generated from, in the units of its text lines, and
// the norad file that carries it (a name line, then line 1 and line 2).
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace kova::generator {

struct ElementSet {
    std::string name = "MARU";
    int catalogueNumber = 0;
    char classification = 'U';
    std::string internationalDesignator;  // up to 8 characters
    int epochYear = 0;                    // two digits: below 50 is 20yy, else 19yy
    double epochDay = 1.0;                // day of the year, 1.0 = 0 h UT on 1 January
    double meanMotionRate = 0.0;          // first derivative field, rev/day^2
    double meanMotionAcceleration = 0.0;  // second derivative field, rev/day^3
    double dragTerm = 0.0;                // BSTAR
    int elementNumber = 0;
    double inclinationDegrees = 0.0;
    double rightAscensionDegrees = 0.0;   // of the ascending node
    double eccentricity = 0.0;
    double argumentOfPerigeeDegrees = 0.0;
    double meanAnomalyDegrees = 0.0;
    double meanMotionRevsPerDay = 0.0;
    int revolutionNumber = 0;             // at epoch
};

// The built-in set: a sun-synchronous orbit at about 705 km, epoch 2003-07-30 03:00 UT.
ElementSet defaultElementSet(const std::string& name = "MARU");

// '0' + (digits by value, '-' as 1, over the first 68 characters) mod 10.
char elementSetChecksum(std::string_view line);

// The two lines, 69 characters each, checksum in column 69. std::invalid_argument when a
// value does not fit its columns: a line is never written cut short.
std::string formatLine1(const ElementSet& set);
std::string formatLine2(const ElementSet& set);

// Finds the first line holding `name` and parses the next two non-blank lines by their
// columns. False, with a reason in `error`, when the name is missing, a line is too short
// or does not start with its line number, or a field does not read as a number.
// Checksums are not checked (the norad file written from the set has correct ones).
bool readElementSet(std::istream& in, const std::string& name, ElementSet& set, std::string& error);

// The same from the file `fileName`, which must be a regular file of at most
// kElementSetFileLimit bytes: it is opened without waiting (a FIFO cannot hold the program up)
// and read to the bound, so a device that never ends costs no memory. False, with a reason
// that names the file in `error`.
inline constexpr std::size_t kElementSetFileLimit = std::size_t{16} << 20;
bool readElementSetFile(const std::string& fileName, const std::string& name, ElementSet& set, std::string& error);

// Name line, line 1, line 2, each ended by a newline.
void writeNoradFile(std::ostream& out, const ElementSet& set);

}  // namespace kova::generator
