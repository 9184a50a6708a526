#pragma once
// Records of a made-up pass for the SPICE tests: a circular inclined orbit and a body turning
// at a constant rate about a fixed axis, both known in closed form at every instant, and
// sinks that keep the bytes.
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

// A sink like a file on a disk: bytes can be written again where they are. Counts how often
// the kernel set wrote over its start and started over; can fail once it holds `failAt` bytes.
class RewritableSink : public StringSink {
public:
    void write(const char* data, std::size_t size) override {
        if (bytes.size() + size > failAt) failed_ = true;
        if (!failed_) StringSink::write(data, size);
    }
    bool failed() const override { return failed_; }
    bool canRewrite() const override { return true; }
    void overwrite(std::uint64_t offset, const char* data, std::size_t size) override {
        if (offset + size > bytes.size()) ++overwritesPastTheEnd;
        else bytes.replace(offset, size, data, size);
        ++overwrites;
    }
    void startOver() override {
        bytes.clear();
        ++startOvers;
    }
    std::size_t failAt = static_cast<std::size_t>(-1);
    std::size_t overwrites = 0;
    std::size_t startOvers = 0;
    std::size_t overwritesPastTheEnd = 0;

private:
    bool failed_ = false;
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
