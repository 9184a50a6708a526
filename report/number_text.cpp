#include "report/number_text.h"

#include <charconv>
#include <cmath>

namespace kova::report {
namespace {

constexpr double kMillisecondsPerSecond = 1000.0;
constexpr std::int64_t kMillisecondsPerDay = 86400000;
constexpr std::int64_t kDaysFrom0000To1958 = 715085;  // days from 0000-03-01 to 1958-01-01
// Far beyond any calendar year with four digits, and well inside a 64-bit count.
constexpr double kMillisecondsLimit = 1.0e15;

void appendPadded(std::string& text, std::int64_t value, int width) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    for (int pad = width - static_cast<int>(result.ptr - digits); pad > 0; --pad) text.push_back('0');
    text.append(digits, result.ptr);
}

// Calendar date of a count of days since 0000-03-01 (the proleptic Gregorian calendar,
// years counted from March so that the leap day ends the year).
void civilFromDays(std::int64_t days, std::int64_t& year, int& month, int& day) {
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

bool appendIsoFromSeconds1958(std::string& text, double seconds1958) {
    if (!std::isfinite(seconds1958)) return false;
    const double milliseconds = std::round(seconds1958 * kMillisecondsPerSecond);
    if (!(std::fabs(milliseconds) < kMillisecondsLimit)) return false;
    const auto total = static_cast<std::int64_t>(milliseconds);
    std::int64_t days = total / kMillisecondsPerDay;
    std::int64_t within = total % kMillisecondsPerDay;
    if (within < 0) {
        within += kMillisecondsPerDay;
        --days;
    }
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    civilFromDays(days + kDaysFrom0000To1958, year, month, day);
    if (year < 1 || year > 9999) return false;
    appendPadded(text, year, 4);
    text.push_back('-');
    appendPadded(text, month, 2);
    text.push_back('-');
    appendPadded(text, day, 2);
    text.push_back('T');
    appendPadded(text, within / 3600000, 2);
    text.push_back(':');
    appendPadded(text, within / 60000 % 60, 2);
    text.push_back(':');
    appendPadded(text, within / 1000 % 60, 2);
    text.push_back('.');
    appendPadded(text, within % 1000, 3);
    return true;
}

}  // namespace

bool appendFixed(std::string& text, double value, int decimals) {
    if (!std::isfinite(value)) return false;
    char digits[400];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    const char* first = digits;
    // "-0.000": a value that rounds to zero has no sign, whatever the sign of the double.
    if (*first == '-') {
        bool allZero = true;
        for (const char* c = first + 1; c != result.ptr; ++c) {
            if (*c != '0' && *c != '.') allZero = false;
        }
        if (allZero) ++first;
    }
    text.append(first, static_cast<std::size_t>(result.ptr - first));
    return true;
}

void appendFixedOr(std::string& text, double value, int decimals, std::string_view absent) {
    if (!appendFixed(text, value, decimals)) text.append(absent);
}

void appendScientificOr(std::string& text, double value, int digits, std::string_view absent) {
    if (!std::isfinite(value)) {
        text.append(absent);
        return;
    }
    char characters[64];
    // A zero of either sign is written as 0.
    const auto result = std::to_chars(characters, characters + sizeof characters, value == 0.0 ? 0.0 : value,
                                      std::chars_format::scientific, digits);
    text.append(characters, result.ptr);
}

void appendInteger(std::string& text, std::int64_t value) { appendPadded(text, value, 1); }

void appendUnsigned(std::string& text, std::uint64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
}

bool appendTai93Iso(std::string& text, double tai93Seconds) {
    return appendIsoFromSeconds1958(text, tai93Seconds + kTai58SecondsAtTai93Origin);
}

bool appendUtIsoFromSeconds1958(std::string& text, double seconds1958) {
    if (!appendIsoFromSeconds1958(text, seconds1958)) return false;
    text.push_back('Z');
    return true;
}

std::string fixedText(double value, int decimals, std::string_view absent) {
    std::string text;
    appendFixedOr(text, value, decimals, absent);
    return text;
}

std::string tai93IsoText(double tai93Seconds, std::string_view absent) {
    std::string text;
    if (!appendTai93Iso(text, tai93Seconds)) text.assign(absent);
    return text;
}

std::string unsignedText(std::uint64_t value) {
    std::string text;
    appendUnsigned(text, value);
    return text;
}

void appendHtmlEscaped(std::string& text, std::string_view raw) {
    for (const char c : raw) {
        switch (c) {
            case '&': text.append("&amp;"); break;
            case '<': text.append("&lt;"); break;
            case '>': text.append("&gt;"); break;
            case '"': text.append("&quot;"); break;
            case '\'': text.append("&#39;"); break;
            default: text.push_back(c);
        }
    }
}

}  // namespace kova::report
