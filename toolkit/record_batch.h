#pragma once
// Records of the record stream gathered for writing: the time, the time tag, the 13 values
// and the flag word of each (the stream's own record is valid only until its next call), with the
// attitude angles of all of them computed at once, two records side by side. The record
// pass takes the stream's records a batch at a time and writes their blocks in order, so
// the files receive exactly what record-by-record writing gives them.
#include <array>
#include <cstddef>
#include <cstdint>

#include "packets/nav_record.h"
#include "time/time_tag.h"

namespace kova {

class NavRecordStream;

class RecordBatch {
public:
    static constexpr std::size_t kCapacity = 64;

    // Empties the batch, then takes records from `stream` until the batch is full or the
    // stream has none left, and computes their attitude angles. Returns false when the
    // stream has ended (the batch may still hold its last records); the stream is not
    // asked again after it has said so.
    bool refillFrom(NavRecordStream& stream);

    std::size_t size() const { return size_; }
    double julianDate(std::size_t n) const { return julianDates_[n]; }
    const TimeTag& tag(std::size_t n) const { return tags_[n]; }
    const NavValues& values(std::size_t n) const { return values_[n]; }
    std::uint32_t qaFlags(std::size_t n) const { return qaFlags_[n]; }
    const std::array<double, 3>& attitudeAngles(std::size_t n) const { return angles_[n]; }

private:
    std::size_t size_ = 0;
    bool streamEnded_ = false;
    std::array<double, kCapacity> julianDates_{};
    std::array<TimeTag, kCapacity> tags_{};
    std::array<NavValues, kCapacity> values_{};
    std::array<std::uint16_t, kCapacity> qaFlags_{};
    std::array<std::array<double, 3>, kCapacity> angles_{};
};

}  // namespace kova
