#pragma once
// A synthetic pass: one navigation packet per second from two-body motion of an element
// set and a nadir-pointing attitude, with optional gaps, repeated time tags and packets of
// other APIDs between the navigation packets. The same settings always give the same bytes.
// Each APID counts its own packets in the sequence count of its headers, as on board.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "generator/element_set.h"
#include "generator/nadir_attitude.h"
#include "generator/packet_builder.h"
#include "generator/two_body_orbit.h"

namespace kova::generator {

// A gap of `length` seconds after the packet at `start` seconds into the pass: the packets
// at start + 1 ... start + length - 1 are left out, so the packets either side of the gap
// are `length` seconds apart (a length of 1 leaves nothing out).
struct PassGap {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
};

// After the packet at `at` seconds into the pass, the pass goes back `back` seconds (at
// least 1) and writes the packets from `at - back` on once more, as a recorder replaying a
// stretch it had sent: one backward step of `back` seconds in the time tags.
struct PassReplay {
    std::uint32_t at = 0;
    std::uint32_t back = 0;
};

// The first packet of `apid` written at or after the navigation packet at `at` seconds into
// the pass carries a sequence count `skipped` higher than it would, as if that many packets
// of the APID had been lost; its later packets count on from there.
struct PassSequenceSkip {
    std::uint32_t at = 0;
    int apid = 957;
    int skipped = 1;
};

struct PassSettings {
    ElementSet elementSet = defaultElementSet();
    std::uint32_t startSeconds = 0;        // TAI seconds since 1958 of the first packet
    std::uint16_t startSubseconds = 0;     // sub-second count of every time tag
    std::uint32_t durationSeconds = 7200;  // packets at 0, 1, ..., duration - 1 seconds
    std::uint32_t packetSize = 126;        // 126 or 214 bytes
    std::vector<PassGap> gaps;
    std::vector<std::uint32_t> duplicates;  // seconds into the pass whose packet is written twice
    std::uint32_t otherPacketsPerNavPacket = 0;
    std::uint64_t seed = 1;                 // draws the other packets' APIDs, lengths and bytes
    AttitudeOffsets offsets;
    std::vector<PassSequenceSkip> sequenceSkips;
    std::vector<PassReplay> replays;
};

// Whether `settings` describe a pass that can be written: every gap starts inside the pass
// and the packet after it is still in it, every duplicated packet is in it, and the element
// set describes an orbit above the Earth (perigee farther from the centre than the equatorial
// radius, 6378137 m) whose values fit the columns of its two lines. False with the reason in
// `error`.
bool checkPassSettings(const PassSettings& settings, std::string& error);

// What a pass holds.
struct PassSummary {
    std::uint64_t navPackets = 0;
    std::uint64_t otherPackets = 0;
    std::uint64_t bytes = 0;
};

class PassGenerator {
public:
    explicit PassGenerator(const PassSettings& settings);

    // The sample of the packet `offset` seconds into the pass. Successive calls must come
    // in increasing order (the attitude quaternion keeps its sign from one to the next).
    NavSample sampleAt(std::uint32_t offset);
    bool isLeftOut(std::uint32_t offset) const;
    int copiesOf(std::uint32_t offset) const;  // 0 in a gap, 2 for a duplicate, else 1

    // Writes the whole pass through a large buffer. The stream's state tells whether
    // every byte was written.
    PassSummary write(std::ostream& out);

    const TwoBodyOrbit& orbit() const { return orbit_; }
    double epochSeconds() const { return epochSeconds_; }  // TAI seconds since 1958

private:
    PassSettings settings_;
    TwoBodyOrbit orbit_;
    NadirAttitude attitude_;
    double epochSeconds_;
};

}  // namespace kova::generator
