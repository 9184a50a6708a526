#pragma once
// The inputs of one pass, checked and opened in the order kova takes them: the packet file
// (a regular file that opens and indexes), the element set of the norad file when one is
// named, then the first and last navigation packets. The outcome is the open input or the
// one reason it was refused; nothing is printed here, each program words a refusal itself.
#include <cstdint>
#include <optional>
#include <string>

#include "orbit/tle_record.h"
#include "packets/nav_record.h"
#include "packets/packet_file.h"
#include "packets/packet_layout.h"
#include "pass/element_set_input.h"
#include "pass/pass_refusal.h"

namespace kova {

struct PassInputSettings {
    std::string packetFileName;
    std::string noradFileName;  // empty: no element set is read, the set stays all zero
    std::string satelliteName;  // the key of the set in the norad file
    std::uint32_t packetReadSize = kNavPacketSize;  // bytes of one navigation packet
};

class PassInput {
public:
    // Takes the steps in order and stops at the first refusal. The packet file stays open
    // (and indexed) once it opened, whatever is refused after it.
    explicit PassInput(const PassInputSettings& settings);
    PassInput(const PassInput&) = delete;
    PassInput& operator=(const PassInput&) = delete;

    const std::optional<PassRefusal>& refusal() const { return refusal_; }
    // errno of the failed open for kPacketFileNotOpenable, 0 otherwise.
    int openError() const { return openError_; }
    // For kEndPacketUnreadable: true when the first packet could not be read, false when
    // only the last one could not.
    bool firstPacketUnreadable() const { return firstPacketUnreadable_; }

    const PassInputSettings& settings() const { return settings_; }
    // Valid once the packet file opened (no refusal before kNoradFileNotOpenable).
    PacketFile& packetFile() { return *packets_; }
    const PacketFile& packetFile() const { return *packets_; }
    bool packetFileOpen() const { return packets_.has_value(); }
    // The set read from the norad file, all zero without one.
    const TleRecord& elementSet() const { return tle_; }
    // Set once a norad file was named and its set found.
    const std::optional<ElementSetText>& elementSetText() const { return elementSetText_; }
    // The satellite name as the norad file is searched for it, once a norad file was named.
    const std::string& elementSetSearchKey() const { return elementSetSearchKey_; }
    // As read, also when their read was refused (then holding what the read left).
    const NavRecord& firstPacket() const { return first_; }
    const NavRecord& lastPacket() const { return last_; }
    // Index of the last navigation packet (0 when fewer than two were indexed).
    std::int32_t lastPacketIndex() const { return lastPacketIndex_; }

private:
    bool openPacketFile();
    bool readElementSet();
    bool readPassEnds();
    bool refuse(PassRefusal refusal) {
        refusal_ = refusal;
        return false;
    }

    PassInputSettings settings_;
    std::optional<PassRefusal> refusal_;
    int openError_ = 0;
    bool firstPacketUnreadable_ = false;
    std::optional<PacketFile> packets_;
    TleRecord tle_;
    std::optional<ElementSetText> elementSetText_;
    std::string elementSetSearchKey_;
    NavRecord first_;
    NavRecord last_;
    std::int32_t lastPacketIndex_ = 0;
};

}  // namespace kova
