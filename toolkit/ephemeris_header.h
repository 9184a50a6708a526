#pragma once
// Ephemeris header (372 bytes, after the common header): orbit count, begin and end orbit
// numbers, reference frame text, the pass's Keplerian elements, and QA parameters and
// statistics that kova leaves at 0.0.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/storebase.h"
#include "orbit/kepler_elements.h"

namespace kova {

// The reference frame of kova's positions and velocities: the mean equator and equinox of
// J2000.0, the frame of the on-board navigation solution.
inline constexpr std::string_view kJ2000ReferenceFrame = "J2000";

// Orbits of a pass for the header: end - begin modulo 2^32, or 1 when they are equal (a
// pass within one revolution and a pass across one node both count 1).
std::uint32_t orbitCount(std::int32_t beginOrbit, std::int32_t endOrbit);

class EphemerisHeader : public storebase {
public:
    EphemerisHeader();

    void setReferenceFrame(std::string_view frame);  // at most 8 bytes
    void setOrbits(std::int32_t beginOrbit, std::int32_t endOrbit, std::int32_t count);
    void setKeplerElements(const KeplerElements& elements);

    std::uint32_t orbitCount() const;
    std::uint32_t beginOrbit() const;
    std::uint32_t endOrbit() const;
    std::string_view referenceFrame() const;
    KeplerElements keplerElements() const;
    float qaParameter(std::size_t index) const;  // index 0 to 15
    float qaStatistic(std::size_t index) const;  // index 0 to 3
};

}  // namespace kova
