#include "generator/pass_generator.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <string>

#include "generator/pass_time.h"
#include "generator/pseudo_random.h"
#include "packets/packet_layout.h"
#include "time/time_scales.h"

namespace kova::generator {

namespace {

constexpr std::size_t kOutputBufferSize = std::size_t{1} << 20;
// APIDs of the housekeeping and science packets between the navigation packets.
constexpr int kOtherApids[] = {0x001, 0x064, 0x0C8, 0x2A5, 0x3BC, 0x3BE, 0x5DC, kIdleApid};
constexpr std::uint32_t kOtherDataBytesMax = 1024;
constexpr std::uint32_t kFillerOneIn = 64;  // now and then a long filler packet
constexpr double kEarthEquatorialRadius = 6378137.0;  // m

}  // namespace

bool checkPassSettings(const PassSettings& settings, std::string& error) {
    const std::uint32_t duration = settings.durationSeconds;
    for (const PassGap& gap : settings.gaps) {
        if (gap.start >= duration || std::uint64_t{gap.start} + gap.length >= duration) {
            error = "the gap " + std::to_string(gap.start) + ":" + std::to_string(gap.length) +
                    " does not lie inside the pass of " + std::to_string(duration) +
                    " s: its start and the packet after it must come before the end";
            return false;
        }
    }
    for (const std::uint32_t duplicate : settings.duplicates) {
        if (duplicate >= duration) {
            error = "the duplicate at " + std::to_string(duplicate) + " s lies outside the pass of " +
                    std::to_string(duration) + " s";
            return false;
        }
    }
    const ElementSet& set = settings.elementSet;
    const TwoBodyOrbit orbit(set);
    const double perigeeRadius = orbit.semiMajorAxis() * (1.0 - set.eccentricity);
    if (!(perigeeRadius > kEarthEquatorialRadius)) {
        char radius[64];
        std::snprintf(radius, sizeof radius, "%.0f", perigeeRadius);
        error = "the element set of \"" + set.name + "\" describes no orbit above the Earth (perigee " + radius +
                " m from the centre, within the equatorial radius of 6378137 m)";
        return false;
    }
    try {
        formatLine1(set);
        formatLine2(set);
    } catch (const std::invalid_argument&) {
        error = "the element set of \"" + set.name + "\" has a value that does not fit its columns";
        return false;
    }
    return true;
}

PassGenerator::PassGenerator(const PassSettings& settings)
    : settings_(settings),
      orbit_(settings.elementSet),
      attitude_(settings.offsets),
      epochSeconds_(epochTai58Seconds(settings.elementSet)) {
    if (settings_.packetSize < nav_packet::kDecodedEnd || settings_.packetSize > kMaximumPacketSize) {
        throw std::invalid_argument("navigation packet size outside 86 to 32773 bytes");
    }
    if (settings_.durationSeconds > std::numeric_limits<std::uint32_t>::max() - settings_.startSeconds) {
        throw std::invalid_argument("the pass ends beyond the range of a 32-bit time tag");
    }
    std::sort(settings_.duplicates.begin(), settings_.duplicates.end());
    for (const PassReplay& replay : settings_.replays) {
        if (replay.back < 1) throw std::invalid_argument("a replay goes back at least one second");
    }
    for (const PassSequenceSkip& skip : settings_.sequenceSkips) {
        if (skip.apid < 0 || skip.apid >= primary_header::kApidLimit) throw std::invalid_argument("APID outside 0 to 2047");
    }
}

NavSample PassGenerator::sampleAt(std::uint32_t offset) {
    NavSample sample;
    sample.seconds = settings_.startSeconds + offset;
    sample.subseconds = settings_.startSubseconds;
    const double time = static_cast<double>(sample.seconds) + static_cast<double>(sample.subseconds) * kSubsecondUnit;
    Vector3 position, velocity, rates;
    Quaternion quaternion;
    orbit_.stateAt(time - epochSeconds_, position, velocity);
    attitude_.attitudeAt(position, velocity, quaternion, rates);
    for (int k = 0; k < 3; ++k) {
        sample.values[k] = position[k];
        sample.values[3 + k] = velocity[k];
        sample.values[10 + k] = rates[k];
    }
    for (int k = 0; k < 4; ++k) sample.values[6 + k] = quaternion[k];
    return sample;
}

bool PassGenerator::isLeftOut(std::uint32_t offset) const {
    for (const PassGap& gap : settings_.gaps) {
        if (offset > gap.start && static_cast<std::uint64_t>(offset) < std::uint64_t{gap.start} + gap.length) return true;
    }
    return false;
}

int PassGenerator::copiesOf(std::uint32_t offset) const {
    if (isLeftOut(offset)) return 0;
    return std::binary_search(settings_.duplicates.begin(), settings_.duplicates.end(), offset) ? 2 : 1;
}

PassSummary PassGenerator::write(std::ostream& out) {
    PassSummary summary;
    PseudoRandom random(settings_.seed);
    std::vector<std::uint8_t> buffer(kOutputBufferSize + kMaximumPacketSize);
    std::size_t used = 0;
    auto flushIfFull = [&]() {
        if (used >= kOutputBufferSize) {
            out.write(reinterpret_cast<const char*>(buffer.data()), static_cast<std::streamsize>(used));
            summary.bytes += used;
            used = 0;
        }
    };
    std::vector<int> sequenceOfApid(primary_header::kApidLimit, 0);
    std::vector<bool> skipDone(settings_.sequenceSkips.size(), false);
    // The sequence count the next packet of `apid` takes, `offset` seconds into the pass.
    auto sequenceFor = [&](int apid, std::uint32_t offset) -> int& {
        int& counter = sequenceOfApid[static_cast<std::size_t>(apid)];
        for (std::size_t i = 0; i < settings_.sequenceSkips.size(); ++i) {
            const PassSequenceSkip& skip = settings_.sequenceSkips[i];
            if (skipDone[i] || skip.apid != apid || offset < skip.at) continue;
            counter = (counter + skip.skipped) % primary_header::kSequenceLimit;
            skipDone[i] = true;
        }
        return counter;
    };
    auto writeSecond = [&](std::uint32_t offset) {
        const int copies = copiesOf(offset);
        if (copies == 0) return;
        const NavSample sample = sampleAt(offset);
        for (int copy = 0; copy < copies; ++copy) {
            int& navCount = sequenceFor(kNavApid, offset);
            writeNavigationPacket(buffer.data() + used, settings_.packetSize, navCount, sample);
            navCount = (navCount + 1) % primary_header::kSequenceLimit;
            used += settings_.packetSize;
            ++summary.navPackets;
            flushIfFull();
            for (std::uint32_t k = 0; k < settings_.otherPacketsPerNavPacket; ++k) {
                const int apid = kOtherApids[random.between(0, std::size(kOtherApids) - 1)];
                const std::uint32_t dataBytes = random.between(0, kFillerOneIn - 1) == 0
                                                    ? random.between(8192, kMaximumPacketSize - primary_header::kSize)
                                                    : random.between(1, kOtherDataBytesMax);
                const std::size_t total = primary_header::kSize + dataBytes;
                int& otherCount = sequenceFor(apid, offset);
                writeOtherPacket(buffer.data() + used, total, apid, otherCount, random);
                otherCount = (otherCount + 1) % primary_header::kSequenceLimit;
                used += total;
                ++summary.otherPackets;
                flushIfFull();
            }
        }
    };
    for (std::uint32_t offset = 0; offset < settings_.durationSeconds; ++offset) {
        writeSecond(offset);
        for (const PassReplay& replay : settings_.replays) {
            if (replay.at != offset) continue;
            for (std::uint32_t again = offset - std::min(replay.back, offset); again <= offset; ++again) writeSecond(again);
        }
    }
    out.write(reinterpret_cast<const char*>(buffer.data()), static_cast<std::streamsize>(used));
    summary.bytes += used;
    out.flush();
    return summary;
}

}  // namespace kova::generator
