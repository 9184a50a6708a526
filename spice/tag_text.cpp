#include "spice/tag_text.h"

#include <cstdint>
#include <cstdio>

#include "spice/ephemeris_time.h"
#include "time/julian_date.h"
#include "time/time_scales.h"

namespace kova {

namespace {

constexpr std::int64_t kSecondsPerWholeDay = 86400;
constexpr std::int64_t kSecondsPerWholeHour = 3600;
constexpr std::int64_t kSecondsPerWholeMinute = 60;

void appendFormatted(std::string& text, const char* format, long long a, long long b = 0, long long c = 0,
                     long long d = 0) {
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, format, a, b, c, d);
    if (length > 0) text.append(buffer, static_cast<std::size_t>(length));
}

}  // namespace

void appendClockString(std::string& text, const TimeTag& tag) {
    appendFormatted(text, "1/%lld.%07lld", static_cast<long long>(tag.seconds),
                    static_cast<long long>(kClockTicksPerSubsecondCount * tag.subsecondCount));
}

std::string clockString(const TimeTag& tag) {
    std::string text;
    appendClockString(text, tag);
    return text;
}

void appendTaiCalendarText(std::string& text, const TimeTag& tag) {
    // Floor division, so that a (never expected) negative tag still gives a valid time of day.
    std::int64_t days = tag.seconds / kSecondsPerWholeDay;
    std::int64_t secondOfDay = tag.seconds % kSecondsPerWholeDay;
    if (secondOfDay < 0) {
        secondOfDay += kSecondsPerWholeDay;
        --days;
    }
    // Midnights are exact Julian dates (x.5), so the calendar date is exact.
    JulianDate midnight(kTai58EpochJd + static_cast<double>(days));
    text += midnight.format("%Y4-%Mn-%Dn");
    appendFormatted(text, "T%02lld:%02lld:%02lld.%07lld", secondOfDay / kSecondsPerWholeHour,
                    secondOfDay % kSecondsPerWholeHour / kSecondsPerWholeMinute, secondOfDay % kSecondsPerWholeMinute,
                    static_cast<long long>(kClockTicksPerSubsecondCount * tag.subsecondCount));
}

std::string taiCalendarText(const TimeTag& tag) {
    std::string text;
    appendTaiCalendarText(text, tag);
    return text;
}

}  // namespace kova
