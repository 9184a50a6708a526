#include "spice/tag_text.h"

#include <cstdint>
#include <cstdio>

#include "spice/ephemeris_time.h"
#include "time/iso_time_text.h"

namespace kova {

namespace {

constexpr auto kWholeSecondsFrom1958To1993 = static_cast<std::int64_t>(kSeconds1958To1993);

void appendFormatted(std::string& text, const char* format, long long a, long long b = 0) {
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, format, a, b);
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
    // The whole seconds since 1993 are the ticks of the calendar text without a fraction; the
    // tick field of the tag follows, as integers all the way.
    char calendar[kIsoTimeTextCapacity];
    const char* end = writeIsoTime(calendar, tag.seconds - kWholeSecondsFrom1958To1993, 0);
    text.append(calendar, static_cast<std::size_t>(end - calendar));
    appendFormatted(text, ".%07lld", static_cast<long long>(kClockTicksPerSubsecondCount * tag.subsecondCount));
}

std::string taiCalendarText(const TimeTag& tag) {
    std::string text;
    appendTaiCalendarText(text, tag);
    return text;
}

}  // namespace kova
