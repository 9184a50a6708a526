#pragma once
// One orbit metadata record (32 bytes, big-endian), one per orbit revolution after the
// ephemeris records: orbit number, ascending and descending node times in TAI93 seconds
// and the descending node's geographic longitude [rad].
#include <cstdint>

#include "core/storebase.h"

namespace kova {

class OrbitMetadataRecord : public storebase {
public:
    OrbitMetadataRecord();

    void setOrbitNumber(std::int32_t orbitNumber);
    // Node times are Julian dates, stored as tai93FromJulianDate (a date of 0, a node the
    // orbit model could not place, stores -211592606427.0).
    void setAscendingNodeTime(double julianDate);
    void setDescendingNodeTime(double julianDate);
    void setDescendingNodeLongitude(double longitude);

    std::uint32_t orbitNumber() const;
    double ascendingNodeTime() const;   // TAI93 seconds
    double descendingNodeTime() const;  // TAI93 seconds
    double descendingNodeLongitude() const;
};

}  // namespace kova
