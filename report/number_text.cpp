#include "report/number_text.h"

#include <charconv>
#include <cmath>

#include "time/fixed_point_text.h"
#include "time/iso_time_text.h"

namespace kova::report {
namespace {

constexpr int kMillisecondDigits = 3;

void appendPadded(std::string& text, std::int64_t value, int width) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    for (int pad = width - static_cast<int>(result.ptr - digits); pad > 0; --pad) text.push_back('0');
    text.append(digits, result.ptr);
}

// The ISO 8601 text of an instant given as seconds since 1993-01-01 00:00 of its scale.
bool appendIsoSince1993(std::string& text, double secondsSince1993) {
    std::int64_t ticks = 0;
    if (!isoTicksSince1993(secondsSince1993, kMillisecondDigits, ticks)) return false;
    char characters[kIsoTimeTextCapacity];
    text.append(characters, writeIsoTime(characters, ticks, kMillisecondDigits));
    return true;
}

}  // namespace

bool appendFixed(std::string& text, double value, int decimals) {
    if (!std::isfinite(value)) return false;
    char digits[kFixedPointTextCapacity];
    text.append(digits, writeFixedPoint(digits, value, decimals));
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
    return appendIsoSince1993(text, tai93Seconds + kTai93ZeroAfter1993);
}

bool appendUtIsoFromSeconds1958(std::string& text, double seconds1958) {
    if (!appendIsoSince1993(text, seconds1958 - kSeconds1958To1993)) return false;
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
