#pragma once
// Packet files built packet by packet, in memory or on disk: navigation packets with
// chosen time tags, packets of other APIDs, bare headers and raw bytes for the invalid and
// truncated cases, and whole generated passes.
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <vector>

#include "generator/packet_builder.h"
#include "generator/pass_generator.h"

namespace kova::test {

// TAI seconds since 1958 of 2003-07-30 12:00, a time in the range of the test data.
inline constexpr std::uint32_t kTestBaseSeconds = 1438257600;

// Smooth, realistic-looking values (an orbit-like position and velocity, slowly turning
// quaternion components, small rates) `seconds` after kTestBaseSeconds.
NavValues smoothNavValues(double seconds);

// The sample at whole seconds and a sub-second count, with smoothNavValues of its time.
generator::NavSample smoothSample(std::uint32_t seconds, std::uint16_t subseconds = 0);

class PacketFileBuilder {
public:
    explicit PacketFileBuilder(std::uint32_t navPacketSize = 126) : navPacketSize_(navPacketSize) {}

    // A navigation packet of the builder's size.
    PacketFileBuilder& nav(const generator::NavSample& sample);
    // A navigation packet with smooth values at kTestBaseSeconds + `offsetSeconds`.
    PacketFileBuilder& navAt(std::uint32_t offsetSeconds, std::uint16_t subseconds = 0);
    // A navigation packet of another total size (at least 86 bytes).
    PacketFileBuilder& navOfSize(std::size_t totalSize, const generator::NavSample& sample);
    // A packet of another APID of `totalSize` bytes (7 to 32773).
    PacketFileBuilder& other(int apid, std::size_t totalSize);
    // Only a primary header, as the six bytes given by its fields.
    PacketFileBuilder& header(int version, int apid, std::uint16_t lengthField);
    PacketFileBuilder& raw(std::initializer_list<std::uint8_t> bytes);
    // The sequence count the next packet takes (the count goes on from it, one per packet of
    // any APID).
    PacketFileBuilder& sequenceCount(int next);
    // Drops the last `count` bytes (a packet running past the end of the file).
    PacketFileBuilder& dropLast(std::size_t count);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }
    std::filesystem::path writeTo(const std::filesystem::path& file) const;

private:
    std::uint32_t navPacketSize_;
    std::vector<std::uint8_t> bytes_;
    int sequence_ = 0;
};

// The bytes of a generated pass, and the same written to a file.
std::vector<std::uint8_t> generatePassBytes(const generator::PassSettings& settings);
std::filesystem::path writeGeneratedPass(const std::filesystem::path& file, const generator::PassSettings& settings);

}  // namespace kova::test
