#include "tests/support/packet_file_builder.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

#include "generator/pseudo_random.h"
#include "tests/support/temporary_directory.h"

namespace kova::test {

NavValues smoothNavValues(double seconds) {
    const double phase = seconds * 1.0595e-3;  // about 14.6 revolutions a day
    const double radius = 7.08e6;
    const double speed = 7.5e3;
    const double spin = 0.5 * phase;
    return {radius * std::cos(phase),
            radius * 0.15 * std::sin(phase),
            radius * 0.99 * std::sin(phase),
            -speed * std::sin(phase),
            speed * 0.15 * std::cos(phase),
            speed * 0.99 * std::cos(phase),
            0.1 * std::sin(spin),
            0.2 * std::cos(spin),
            0.3 * std::sin(spin + 0.4),
            0.9 * std::cos(spin - 0.1),
            -1.0e-3 + 1.0e-6 * std::sin(phase),
            -1.06e-3,
            2.5e-6 * std::cos(phase)};
}

generator::NavSample smoothSample(std::uint32_t seconds, std::uint16_t subseconds) {
    generator::NavSample sample;
    sample.seconds = seconds;
    sample.subseconds = subseconds;
    const double since = static_cast<double>(seconds) - static_cast<double>(kTestBaseSeconds) +
                         static_cast<double>(subseconds) * 1.52e-05;
    sample.values = smoothNavValues(since);
    return sample;
}

PacketFileBuilder& PacketFileBuilder::nav(const generator::NavSample& sample) {
    return navOfSize(navPacketSize_, sample);
}

PacketFileBuilder& PacketFileBuilder::navAt(std::uint32_t offsetSeconds, std::uint16_t subseconds) {
    return nav(smoothSample(kTestBaseSeconds + offsetSeconds, subseconds));
}

PacketFileBuilder& PacketFileBuilder::navOfSize(std::size_t totalSize, const generator::NavSample& sample) {
    const std::size_t at = bytes_.size();
    bytes_.resize(at + totalSize);
    generator::writeNavigationPacket(bytes_.data() + at, totalSize, sequence_++, sample);
    return *this;
}

PacketFileBuilder& PacketFileBuilder::other(int apid, std::size_t totalSize) {
    generator::PseudoRandom random(static_cast<std::uint64_t>(bytes_.size()) + 17);
    const std::size_t at = bytes_.size();
    bytes_.resize(at + totalSize);
    generator::writeOtherPacket(bytes_.data() + at, totalSize, apid, sequence_++, random);
    return *this;
}

PacketFileBuilder& PacketFileBuilder::header(int version, int apid, std::uint16_t lengthField) {
    const std::size_t at = bytes_.size();
    bytes_.resize(at + 6);
    generator::writePrimaryHeader(bytes_.data() + at, apid, sequence_++, lengthField, version);
    return *this;
}

PacketFileBuilder& PacketFileBuilder::raw(std::initializer_list<std::uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

PacketFileBuilder& PacketFileBuilder::sequenceCount(int next) {
    sequence_ = next;
    return *this;
}

PacketFileBuilder& PacketFileBuilder::dropLast(std::size_t count) {
    if (count > bytes_.size()) throw std::invalid_argument("dropping more bytes than built");
    bytes_.resize(bytes_.size() - count);
    return *this;
}

std::filesystem::path PacketFileBuilder::writeTo(const std::filesystem::path& file) const {
    writeBytes(file, bytes_);
    return file;
}

std::vector<std::uint8_t> generatePassBytes(const generator::PassSettings& settings) {
    std::ostringstream out(std::ios::binary);
    generator::PassGenerator(settings).write(out);
    const std::string text = out.str();
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::filesystem::path writeGeneratedPass(const std::filesystem::path& file, const generator::PassSettings& settings) {
    writeBytes(file, generatePassBytes(settings));
    return file;
}

}  // namespace kova::test
