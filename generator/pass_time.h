#pragma once
// Times of a generated pass: calendar text, TAI seconds since 1958 (the packets' time tags)
// and the epoch of an element set on that scale.
#include <cstdint>
#include <string_view>

#include "generator/element_set.h"

namespace kova::generator {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day);

// "YYYY-MM-DDThh:mm:ss", read as a TAI calendar time, to whole TAI seconds since
// 1958-01-01 00:00. False when the text has another form, a field is out of range, or the
// time lies outside 1958 to 2094 (the range of a 32-bit time tag).
bool parseTai58Time(std::string_view text, std::uint32_t& seconds);

// The epoch of the set in TAI seconds since 1958: the UT epoch plus the approximate
// TAI - UT correction, the same correction kova applies when it reads the set.
double epochTai58Seconds(const ElementSet& set);

// The default start of a pass: ten minutes after the epoch, on a whole second.
std::uint32_t defaultStartTai58Seconds(const ElementSet& set);

}  // namespace kova::generator
