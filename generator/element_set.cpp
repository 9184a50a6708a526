#include "generator/element_set.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <sstream>
#include <ostream>
#include <stdexcept>
#include <utility>

namespace kova::generator {

namespace {

constexpr std::size_t kChecksummedLength = 68;
constexpr int kExponentFieldDigits = 5;
constexpr std::size_t kFirstReadBytes = std::size_t{1} << 16;

// One field of a line by its 1-based columns, blanks trimmed.
std::string field(const std::string& line, std::size_t firstColumn, std::size_t lastColumn) {
    std::string text = line.substr(firstColumn - 1, lastColumn - firstColumn + 1);
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool toNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

// A field "SMMMMMsE": mantissa with an assumed leading decimal point, then a signed
// one-digit power of ten ("-11606-4" is -0.11606e-4). A blank field is 0.
bool toExponentField(const std::string& line, std::size_t firstColumn, double& value) {
    const std::string all = field(line, firstColumn, firstColumn + 7);
    if (all.empty()) {
        value = 0.0;
        return true;
    }
    const char sign = line[firstColumn - 1];
    double mantissa = 0.0;
    double exponent = 0.0;
    if (!toNumber(field(line, firstColumn + 1, firstColumn + 5), mantissa)) return false;
    if (!toNumber(field(line, firstColumn + 6, firstColumn + 7), exponent)) return false;
    value = (sign == '-' ? -mantissa : mantissa) * 1e-5 * std::pow(10.0, exponent);
    return true;
}

// The characters of an exponent field for `value`.
std::string exponentField(double value) {
    char text[16];
    const double magnitude = std::fabs(value);
    int power = 0;
    long mantissa = 0;
    if (magnitude != 0.0) {
        power = static_cast<int>(std::floor(std::log10(magnitude))) + 1;
        mantissa = std::lround(magnitude * std::pow(10.0, kExponentFieldDigits - power));
        if (mantissa >= 100000) {
            mantissa = std::lround(static_cast<double>(mantissa) / 10.0);
            ++power;
        }
        if (power < -9) mantissa = 0, power = 0;
        if (power > 9) throw std::invalid_argument("value does not fit an exponent field");
    }
    std::snprintf(text, sizeof text, "%c%05ld%c%d", value < 0.0 && mantissa != 0 ? '-' : ' ', mantissa,
                  power < 0 ? '-' : '+', std::abs(power));
    return text;
}

std::string withChecksum(std::string line) {
    if (line.size() > kChecksummedLength) throw std::invalid_argument("an element set value does not fit its columns");
    line.resize(kChecksummedLength, ' ');
    line.push_back(elementSetChecksum(line));
    return line;
}

bool isBlank(const std::string& line) {
    for (char c : line) {
        if (!std::isspace(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

bool nextNonBlankLine(std::istream& in, std::string& line) {
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!isBlank(line)) return true;
    }
    return false;
}

}  // namespace

ElementSet defaultElementSet(const std::string& name) {
    ElementSet set;
    set.name = name;
    set.catalogueNumber = 90957;
    set.classification = 'U';
    set.internationalDesignator = "02901A";
    set.epochYear = 3;
    set.epochDay = 211.125;  // 2003-07-30 03:00 UT
    set.meanMotionRate = 0.00000120;
    set.meanMotionAcceleration = 0.0;
    set.dragTerm = 0.000036539;
    set.elementNumber = 812;
    set.inclinationDegrees = 98.2071;
    set.rightAscensionDegrees = 251.4363;
    set.eccentricity = 0.0001187;
    set.argumentOfPerigeeDegrees = 92.3518;
    set.meanAnomalyDegrees = 267.7823;
    set.meanMotionRevsPerDay = 14.57107046;
    set.revolutionNumber = 6265;
    return set;
}

char elementSetChecksum(std::string_view line) {
    int sum = 0;
    for (std::size_t i = 0; i < kChecksummedLength && i < line.size(); ++i) {
        const char c = line[i];
        if (c >= '0' && c <= '9') sum += c - '0';
        if (c == '-') sum += 1;
    }
    return static_cast<char>('0' + sum % 10);
}

std::string formatLine1(const ElementSet& set) {
    if (std::fabs(set.meanMotionRate) >= 1.0) throw std::invalid_argument("mean motion rate does not fit");
    char rate[16];
    std::snprintf(rate, sizeof rate, "%.8f", std::fabs(set.meanMotionRate));  // "0.00000120"
    char text[96];
    std::snprintf(text, sizeof text, "1 %05d%c %-8.8s %02d%012.8f %c%s %s %s 0 %4d", set.catalogueNumber % 100000,
                  set.classification, set.internationalDesignator.c_str(), set.epochYear % 100, set.epochDay,
                  set.meanMotionRate < 0.0 ? '-' : ' ', rate + 1, exponentField(set.meanMotionAcceleration).c_str(),
                  exponentField(set.dragTerm).c_str(), set.elementNumber % 10000);
    return withChecksum(text);
}

std::string formatLine2(const ElementSet& set) {
    const long eccentricityDigits = std::lround(set.eccentricity * 1e7);
    char text[96];
    std::snprintf(text, sizeof text, "2 %05d %8.4f %8.4f %07ld %8.4f %8.4f %11.8f%5d", set.catalogueNumber % 100000,
                  set.inclinationDegrees, set.rightAscensionDegrees, eccentricityDigits,
                  set.argumentOfPerigeeDegrees, set.meanAnomalyDegrees, set.meanMotionRevsPerDay,
                  set.revolutionNumber % 100000);
    return withChecksum(text);
}

bool readElementSet(std::istream& in, const std::string& name, ElementSet& set, std::string& error) {
    std::string line;
    bool found = false;
    while (!found && std::getline(in, line)) found = !name.empty() && line.find(name) != std::string::npos;
    if (!found) {
        error = "no element set named \"" + name + "\"";
        return false;
    }
    std::string line1;
    std::string line2;
    if (!nextNonBlankLine(in, line1) || !nextNonBlankLine(in, line2)) {
        error = "the element set of \"" + name + "\" ends before its second line";
        return false;
    }
    if (line1.size() < kChecksummedLength || line2.size() < kChecksummedLength || line1[0] != '1' ||
        line2[0] != '2') {
        error = "the element set of \"" + name + "\" is not two lines of 68 or more columns";
        return false;
    }
    ElementSet parsed;
    parsed.name = name;
    double number = 0.0;
    bool ok = true;
    auto read = [&](const std::string& text, double& target, bool blankIsZero = false) {
        if (blankIsZero && text.empty()) {
            target = 0.0;
        } else if (!toNumber(text, target)) {
            ok = false;
        }
    };
    // Integer fields have at most five digits; anything larger is not a field value.
    auto readInteger = [&](const std::string& text, int& target, bool blankIsZero = false) {
        double value = 0.0;
        read(text, value, blankIsZero);
        if (!(std::fabs(value) < 1e6)) {
            ok = false;
            value = 0.0;
        }
        target = static_cast<int>(value);
    };
    readInteger(field(line1, 3, 7), parsed.catalogueNumber);
    parsed.classification = line1[7];
    parsed.internationalDesignator = field(line1, 10, 17);
    readInteger(field(line1, 19, 20), parsed.epochYear);
    read(field(line1, 21, 32), parsed.epochDay);
    read(field(line1, 34, 43), parsed.meanMotionRate, true);
    ok = ok && toExponentField(line1, 45, parsed.meanMotionAcceleration);
    ok = ok && toExponentField(line1, 54, parsed.dragTerm);
    readInteger(field(line1, 65, 68), parsed.elementNumber, true);
    read(field(line2, 9, 16), parsed.inclinationDegrees);
    read(field(line2, 18, 25), parsed.rightAscensionDegrees);
    read(field(line2, 27, 33), number);
    parsed.eccentricity = number * 1e-7;
    read(field(line2, 35, 42), parsed.argumentOfPerigeeDegrees);
    read(field(line2, 44, 51), parsed.meanAnomalyDegrees);
    read(field(line2, 53, 63), parsed.meanMotionRevsPerDay);
    readInteger(field(line2, 64, 68), parsed.revolutionNumber, true);
    if (!ok || parsed.meanMotionRevsPerDay <= 0.0 || parsed.eccentricity < 0.0 || parsed.eccentricity >= 1.0 ||
        parsed.epochDay < 1.0 || parsed.epochDay >= 367.0) {
        error = "the element set of \"" + name + "\" has a field that does not read as a number in its range";
        return false;
    }
    set = parsed;
    return true;
}

bool readElementSetFile(const std::string& fileName, const std::string& name, ElementSet& set, std::string& error) {
    const int descriptor = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        error = "cannot open element set file " + fileName;
        return false;
    }
    struct stat status {};
    std::string text;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        error = fileName + ": not a regular file";
    } else {
        // Read one byte past the bound to tell a file at the bound from a larger one (the file
        // may grow while it is read, so its size is not trusted).
        text.resize(kFirstReadBytes);
        std::size_t used = 0;
        while (true) {
            if (used == text.size()) {
                if (used > kElementSetFileLimit) break;
                text.resize(std::min(2 * used, kElementSetFileLimit + 1));
            }
            const ssize_t got = ::read(descriptor, text.data() + used, text.size() - used);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                error = fileName + ": read error";
                break;
            }
            if (got == 0) break;
            used += static_cast<std::size_t>(got);
        }
        text.resize(used);
        if (error.empty() && used > kElementSetFileLimit) error = fileName + ": larger than 16 MiB, not an element set file";
    }
    ::close(descriptor);
    if (!error.empty()) return false;
    std::istringstream in(std::move(text));
    if (readElementSet(in, name, set, error)) return true;
    error = fileName + ": " + error;
    return false;
}

void writeNoradFile(std::ostream& out, const ElementSet& set) {
    out << set.name << '\n' << formatLine1(set) << '\n' << formatLine2(set) << '\n';
}

}  // namespace kova::generator
