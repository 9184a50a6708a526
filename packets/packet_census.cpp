#include "packets/packet_census.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kova {

PacketCensus::PacketCensus(const std::string& fileName, ExpectedPacketLength expected, std::size_t bufferSize)
    : expected_(expected) {
    PacketInput input(fileName.c_str(), bufferSize);
    if (input.fail()) {
        end_ = CensusEnd::kReadError;
        return;
    }
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(std::string(fileName.c_str()), error);
    fileSize_ = error ? 0 : static_cast<std::uint64_t>(size);
    walk(input);
}

const ApidCensus* PacketCensus::find(int apid) const {
    for (const ApidCensus& census : apids_) {
        if (census.apid == apid) return &census;
    }
    return nullptr;
}

void PacketCensus::walk(PacketInput& input) {
    std::uint8_t header[primary_header::kSize];
    std::uint64_t offset = 0;
    std::uint64_t lastOffset = 0;
    for (;;) {
        input.read(header, primary_header::kSize);
        if (input.fail()) {
            if (!input.eof() || input.bad()) {
                end_ = CensusEnd::kReadError;
                endOffset_ = offset;
            } else if (input.gcount() > 0) {
                end_ = CensusEnd::kPartialHeader;
                endOffset_ = offset;
                partialHeaderBytes_ = static_cast<std::uint64_t>(input.gcount());
            } else if (offset > fileSize_) {
                // The seek over the last packet's data went past the end of the file.
                end_ = CensusEnd::kTruncatedPacket;
                endOffset_ = lastOffset;
                missingBytes_ = offset - fileSize_;
            } else {
                end_ = CensusEnd::kEndOfFile;
                endOffset_ = offset;
            }
            break;
        }
        const int version = header[0] >> primary_header::kVersionShift;
        const int lengthField = header[primary_header::kLength] * 256 + header[primary_header::kLength + 1];
        // The size is a signed 16-bit value, as PacketFile reads it: 32767 or more wraps below 1.
        const int dataBytes = static_cast<std::int16_t>(lengthField + 1);
        if (version != 0 || dataBytes < 1) {
            end_ = CensusEnd::kInvalidHeader;
            endOffset_ = offset;
            invalidVersion_ = version;
            invalidLengthField_ = lengthField;
            break;
        }
        const int apid = (header[0] & primary_header::kApidHighMask) * 256 + header[primary_header::kApidLow];
        const int sequenceCount = (header[primary_header::kSequence] & primary_header::kSequenceHighMask) * 256 +
                                  header[primary_header::kSequence + 1];
        const auto totalLength = static_cast<std::uint32_t>(primary_header::kSize) + static_cast<std::uint32_t>(dataBytes);
        count(apid, sequenceCount, totalLength, offset);
        lastOffset = offset;
        offset += totalLength;
        input.seekRelative(dataBytes);
    }
    // The APIDs in increasing order; the slot table is not needed after the walk.
    std::sort(apids_.begin(), apids_.end(), [](const ApidCensus& a, const ApidCensus& b) { return a.apid < b.apid; });
}

void PacketCensus::count(int apid, int sequenceCount, std::uint32_t totalLength, std::uint64_t offset) {
    ++packetCount_;
    std::uint16_t& slot = slotOfApid_[static_cast<std::size_t>(apid)];
    if (slot == 0) {
        ApidCensus first;
        first.apid = apid;
        first.shortestPacket = totalLength;
        first.longestPacket = totalLength;
        first.lastSequenceCount = (sequenceCount + primary_header::kSequenceLimit - 1) % primary_header::kSequenceLimit;
        apids_.push_back(std::move(first));
        slot = static_cast<std::uint16_t>(apids_.size());
    }
    ApidCensus& census = apids_[slot - 1u];
    ++census.packets;
    census.bytes += totalLength;
    if (totalLength < census.shortestPacket) census.shortestPacket = totalLength;
    if (totalLength > census.longestPacket) census.longestPacket = totalLength;
    const int expected = (census.lastSequenceCount + 1) % primary_header::kSequenceLimit;
    if (sequenceCount != expected) {
        ++census.sequenceBreaks;
        if (census.firstBreaks.size() < ApidCensus::kListedBreaks) {
            census.firstBreaks.push_back(SequenceBreak{offset, expected, sequenceCount});
        }
    }
    census.lastSequenceCount = sequenceCount;
    if (apid == expected_.apid && totalLength != expected_.length) {
        if (census.wrongLength == 0) census.firstWrongLengthOffset = offset;
        ++census.wrongLength;
    }
}

}  // namespace kova
