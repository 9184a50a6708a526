#pragma once
// One attitude record (64 bytes, big-endian): time in TAI93 seconds, the three attitude
// angles A(1,2), A(2,3), A(3,1), the three body rates as in the navigation record, and the
// record's QA flag word. One block is reused for every record of a run.
#include <array>
#include <cstdint>

#include "core/storebase.h"
#include "packets/nav_record.h"

namespace kova {

class AttitudeRecord : public storebase {
public:
    AttitudeRecord();

    void setTime(double julianDate);  // stored as tai93FromJulianDate
    void setAngles(const std::array<double, 3>& angles);
    void setRates(const std::array<double, 3>& rates);
    void setQaFlags(std::uint32_t flags);
    // The whole record from a record's time, its 13 navigation values (for the rates), its
    // attitude angles computed already and its flag word.
    void setFromNavValues(double julianDate, const NavValues& values, const std::array<double, 3>& angles,
                          std::uint32_t flags);

    double time() const;  // TAI93 seconds
    std::array<double, 3> angles() const;
    std::array<double, 3> rates() const;
    std::uint32_t qaFlags() const;
};

}  // namespace kova
