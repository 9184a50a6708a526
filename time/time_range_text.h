#pragma once
// The time-range text of the toolkit files' common header: calendar times after the
// approximate UT correction, for display only.
#include <cstdint>

namespace kova {

// Fills the 48-byte time-range field of the common header:
// "YYYY-MM-DDThh:mm:ssZ to " at byte 0 (NUL at 24), "YYYY-MM-DDThh:mm:ssZ " at byte 25.
// Writes are bounded to the field whatever the year.
void formatTimeRange(double startJulianDate, double endJulianDate, std::uint8_t* field48);

}  // namespace kova
