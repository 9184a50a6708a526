#pragma once
// A time tag as text, exactly: the spacecraft clock string of the SCLK kernel and the TAI
// calendar time, both with the seven tick digits of the tag's sub-second part.
#include <string>

#include "time/time_tag.h"

namespace kova {

// Appends "1/S.ttttttt": partition 1, whole seconds S, then the tick field 152 C as seven
// digits. The tick field counts 0.1 us ticks; it is not a decimal fraction of a second
// ("1/100.5" would be 100 s and 5 ticks), though with seven digits it reads like one.
void appendClockString(std::string& text, const TimeTag& tag);
std::string clockString(const TimeTag& tag);

// Appends "YYYY-MM-DDThh:mm:ss.ttttttt" (TAI): the calendar time of the whole seconds, as every
// program writes it, then the seven tick digits of the tag's sub-second part.
void appendTaiCalendarText(std::string& text, const TimeTag& tag);
std::string taiCalendarText(const TimeTag& tag);

}  // namespace kova
