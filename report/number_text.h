#pragma once
// Numbers and times as text, the same bytes whatever compiler or build made the program:
// std::to_chars with fixed formats, no locale. Values that are not finite have no digits:
// the callers print them as "n/a" in text and null in JSON.
#include <cstdint>
#include <string>
#include <string_view>

namespace kova::report {

// `value` with exactly `decimals` digits after the point (0 to 15) appended to `text`, by the
// fixed-point text of time/: a result that rounds to zero is written without a minus sign,
// one that would need more than 16 significant digits in d.ddde+XX form. False (nothing
// appended) when `value` is not finite.
bool appendFixed(std::string& text, double value, int decimals);
// The same, or `absent` when `value` is not finite.
void appendFixedOr(std::string& text, double value, int decimals, std::string_view absent);
// `value` as d.ddde+XX with `digits` digits after the point, or `absent` when not finite.
void appendScientificOr(std::string& text, double value, int digits, std::string_view absent);
void appendInteger(std::string& text, std::int64_t value);
void appendUnsigned(std::string& text, std::uint64_t value);

// "YYYY-MM-DDThh:mm:ss.sss" of a time given as TAI93 seconds, on the TAI scale (no zone
// designator: it is not UTC): the ISO 8601 time text of time/ at whole milliseconds (nearest,
// ties to even). False when the time is not finite or lies outside the years 0000 to 9999.
bool appendTai93Iso(std::string& text, double tai93Seconds);
// "YYYY-MM-DDThh:mm:ss.sssZ" of a UT calendar time given as seconds since 1958-01-01 00:00.
bool appendUtIsoFromSeconds1958(std::string& text, double seconds1958);

// The same as whole strings, for table cells and labels.
std::string fixedText(double value, int decimals, std::string_view absent);
std::string tai93IsoText(double tai93Seconds, std::string_view absent);
std::string unsignedText(std::uint64_t value);

// Text with the characters that HTML gives a meaning (& < > " ') written as references.
void appendHtmlEscaped(std::string& text, std::string_view raw);

}  // namespace kova::report
