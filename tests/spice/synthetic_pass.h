#pragma once
// Records of a made-up pass for the SPICE tests: a circular inclined orbit and a body turning
// at a constant rate about a fixed axis, both known in closed form at every instant, and a
// sink that keeps the bytes.
#include <array>
#include <cstdint>
#include <string>

#include "core/byte_sink.h"
#include "spice/spice_export.h"

namespace kova::test {

class StringSink : public ByteSink {
public:
    void write(const char* data, std::size_t size) override {
        bytes.append(data, size);
        ++writes;
    }
    std::string bytes;
    std::size_t writes = 0;
};

inline constexpr TimeTag kPassStart{1438257600, 0};  // 2003-07-30T12:00:00 TAI

// The record of the closed-form pass at `tag` (seconds from kPassStart): position in m,
// velocity in m/s, quaternion (q4 scalar last).
SpiceInputRecord passRecord(std::uint64_t number, const TimeTag& tag, std::uint32_t qaFlags = 0);
// The true state (km, km/s) at `seconds` after kPassStart.
std::array<double, 6> passStateKm(double seconds);
// The true quaternion (q1, q2, q3, q4) at `seconds` after kPassStart.
std::array<double, 4> passNavigationQuaternion(double seconds);

// Settings for the MARU spacecraft of the examples (NORAD 90957).
SpiceKernelSettings maruSettings(const std::string& packetFileName = "data/three.kov");

// A tag `seconds` whole seconds and `count` sub-second counts after kPassStart.
inline TimeTag passTag(std::int64_t seconds, std::uint16_t count = 0) {
    return TimeTag{kPassStart.seconds + seconds, count};
}

}  // namespace kova::test
