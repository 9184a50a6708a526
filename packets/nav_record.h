#pragma once
// One navigation packet decoded: 13 values (position m, velocity m/s, quaternion q1..q4
// with q4 the scalar part, three attitude rates) and the time tag as a TAI Julian date.
#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>

#include "packets/packet.h"
#include "packets/real_formats.h"

namespace kova {

using NavValues = std::array<double, 13>;

// Where each quantity starts among the 13 values.
namespace nav_value {
inline constexpr std::size_t kPosition = 0;    // x, y, z [m]
inline constexpr std::size_t kVelocity = 3;    // x, y, z [m/s]
inline constexpr std::size_t kQuaternion = 6;  // q1, q2, q3, q4 (scalar)
inline constexpr std::size_t kRates = 10;      // three attitude rates
}  // namespace nav_value

class NavRecord : public Packet {
public:
    // The buffer holds one navigation packet of `packetReadSize` bytes (126 or 214).
    explicit NavRecord(std::uint32_t packetReadSize);

    // Read, then decode whatever was read.
    void readFrom(PacketInput& input) final {
        Packet::readFrom(input);
        decode();
    }
    // Decodes the buffer as it stands: time tag to Julian date, 10 Real48 and 3 Real32
    // values; clears the flag word. A buffer shorter than a navigation packet's decoded
    // part reads its missing bytes as 0.
    void decode();

    double julianDate() const { return julianDate_; }
    void setJulianDate(double jd) { julianDate_ = jd; }
    const NavValues& values() const { return values_; }
    void setValues(const NavValues& values) { values_ = values; }

    std::array<double, 3> position() const { return {values_[0], values_[1], values_[2]}; }
    std::array<double, 3> velocity() const { return {values_[3], values_[4], values_[5]}; }
    std::array<double, 4> attitude() const { return {values_[6], values_[7], values_[8], values_[9]}; }
    std::array<double, 3> attitudeRates() const { return {values_[10], values_[11], values_[12]}; }
    // The whole-seconds field of the time tag, read from the buffer.
    std::uint32_t timeTagSeconds() const;
    // The sub-second count of the time tag, read from the buffer.
    std::uint16_t timeTagSubseconds() const;

    // Quality word of the record (bits 5 to 9 set by the record stream); 0 when decoded.
    std::uint16_t qaFlags() const { return qaFlags_; }
    void setQaFlags(std::uint16_t flags) { qaFlags_ = flags; }

private:
    // decode() of a buffer that holds at least the decoded part of a navigation packet.
    void decodeFields(const std::uint8_t* bytes);

    NavValues values_{};
    double julianDate_ = 0.0;
    std::uint16_t qaFlags_ = 0;
};

// Packet header print, then the record's time and values in fixed notation with 8
// decimals (left on the stream); no end of line after the last line.
std::ostream& printNavRecord(std::ostream& out, const NavRecord& record);

}  // namespace kova
