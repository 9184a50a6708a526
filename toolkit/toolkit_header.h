#pragma once
// Common header of both toolkit files (140 bytes, big-endian): spacecraft, time range,
// source and version texts, start and end times, record interval, the universal reference
// count (always 0) and the record count. The same block heads both files of a run.
#include <cstdint>
#include <string_view>

#include "core/storebase.h"

namespace kova {

// The spacecraft name written into the headers when no other is given.
inline constexpr std::string_view kDefaultXtkSatName = "KALPM1";

class ToolkitHeader : public storebase {
public:
    ToolkitHeader();

    // Texts are cut to the field width (24, 32 and 8 bytes); an empty text leaves the
    // field zero.
    void setSpacecraft(std::string_view name);
    void setSource(std::string_view source);
    void setVersion(std::string_view version);
    // Start and end times as TAI93 seconds, and the calendar text of both dates (after the
    // approximate UT correction, seconds truncated) in the time-range field.
    void setTimeRange(double startJulianDate, double endJulianDate);
    void setInterval(float seconds);
    void setRecordCount(std::int32_t count);

    std::string_view spacecraft() const;
    // The time-range field up to its first zero byte: the start text only.
    std::string_view timeRange() const;
    std::string_view source() const;
    std::string_view version() const;
    double startTime() const;  // TAI93 seconds
    double endTime() const;    // TAI93 seconds
    float interval() const;
    std::uint32_t universalRefCount() const;
    std::uint32_t recordCount() const;
};

}  // namespace kova
