#pragma once
// One ephemeris record (64 bytes, big-endian): time in TAI93 seconds, position [m] and
// velocity [m/s] as in the navigation record, and the record's QA flag word. One block
// is reused for every record of a run.
#include <array>
#include <cstdint>

#include "core/storebase.h"
#include "packets/nav_record.h"

namespace kova {

class EphemerisRecord : public storebase {
public:
    EphemerisRecord();

    void setTime(double julianDate);  // stored as tai93FromJulianDate
    void setPosition(const std::array<double, 3>& position);
    void setVelocity(const std::array<double, 3>& velocity);
    void setQaFlags(std::uint32_t flags);
    // The whole record from a record's time, its 13 navigation values and its flag word.
    void setFromNavValues(double julianDate, const NavValues& values, std::uint32_t flags);

    double time() const;  // TAI93 seconds
    std::array<double, 3> position() const;
    std::array<double, 3> velocity() const;
    std::uint32_t qaFlags() const;
};

}  // namespace kova
