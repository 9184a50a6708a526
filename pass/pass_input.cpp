#include "pass/pass_input.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "core/file_identity.h"
#include "packets/packet_layout.h"

namespace kova {

PassInput::PassInput(const PassInputSettings& settings)
    : settings_(settings), first_(settings.packetReadSize), last_(settings.packetReadSize) {
    if (!openPacketFile()) return;
    if (!readElementSet()) return;
    readPassEnds();
}

bool PassInput::openPacketFile() {
    const std::string name(settings_.packetFileName.c_str());  // as the system sees it
    if (name.empty()) return refuse(PassRefusal::kNoPacketFileName);
    // Only a regular file is a packet file: a directory reads as empty, a device such as
    // /dev/zero never ends, and a pipe cannot be read twice (the indexing walk, then the
    // records); asking first also keeps a named pipe from blocking the open.
    if (namesDirectory(name)) return refuse(PassRefusal::kPacketFileIsDirectory);
    std::error_code noFile;
    if (std::filesystem::exists(name, noFile) && !namesRegularFile(name)) {
        return refuse(PassRefusal::kPacketFileNotRegular);
    }
    // A probe, so that a file that does not open is told apart from one that does not index.
    const int probe = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (probe < 0) {
        openError_ = errno;
        return refuse(PassRefusal::kPacketFileNotOpenable);
    }
    ::close(probe);
    packets_.emplace(settings_.packetFileName, kNavApid);
    if (packets_->fail()) return refuse(PassRefusal::kPacketFileNotIndexable);
    return true;
}

bool PassInput::readElementSet() {
    if (settings_.noradFileName.empty()) return true;
    ElementSetText text;
    const auto refusal = readNoradElementSet(settings_.noradFileName, settings_.satelliteName, tle_, text);
    elementSetSearchKey_ = text.searchKey;
    if (refusal) return refuse(*refusal);
    elementSetText_ = std::move(text);
    return true;
}

bool PassInput::readPassEnds() {
    // The first and last packets in file order, not by time: they give the time range.
    packets_->readPacket(first_, packets_->firstIndex());
    firstPacketUnreadable_ = packets_->fail();
    lastPacketIndex_ = packets_->lastIndex();
    packets_->readPacket(last_, lastPacketIndex_);
    // One navigation packet makes no pass: it counts as none.
    if (lastPacketIndex_ == 0) return refuse(PassRefusal::kFewerThanTwoNavigationPackets);
    if (packets_->fail()) return refuse(PassRefusal::kEndPacketUnreadable);
    return true;
}

}  // namespace kova
