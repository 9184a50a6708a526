#include "export/record_sources.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/big_endian.h"
#include "core/file_identity.h"
#include "time/time_scales.h"
#include "toolkit/ephemeris_header.h"
#include "toolkit/layout.h"
#include "toolkit/toolkit_header.h"

namespace kova {

PacketRecordSource::PacketRecordSource(const std::string& fileName, std::uint32_t packetReadSize)
    : packetReadSize_(packetReadSize) {
    PassInputSettings settings;
    settings.packetFileName = fileName;
    settings.packetReadSize = packetReadSize;
    pass_.emplace(settings);
    if (!pass_->refusal()) {
        stream_.emplace(pass_->packetFile(), packetReadSize);
        return;
    }
    switch (*pass_->refusal()) {
        case PassRefusal::kNoPacketFileName:
            error_ = "no packet file named";
            break;
        case PassRefusal::kPacketFileIsDirectory:
            error_ = "cannot open the packet file " + fileName + ": it is a directory";
            break;
        case PassRefusal::kPacketFileNotRegular:
            error_ = "cannot open the packet file " + fileName + ": it is not a regular file";
            break;
        case PassRefusal::kPacketFileNotOpenable:
            error_ = "cannot open the packet file " + fileName + ": " + std::strerror(pass_->openError());
            break;
        case PassRefusal::kPacketFileNotIndexable:
            error_ = "cannot index the packet file " + fileName + ": a read error or a packet header that is not valid";
            break;
        case PassRefusal::kFewerThanTwoNavigationPackets:
            error_ = "the packet file " + fileName + " holds fewer than two navigation packets";
            break;
        case PassRefusal::kEndPacketUnreadable:
            error_ = "the first or last navigation packet of " + fileName + " is truncated or not " +
                     std::to_string(packetReadSize) + " bytes long";
            break;
        case PassRefusal::kNoradFileNotOpenable:  // no norad file is read
        case PassRefusal::kElementSetNotFound:
            error_ = "the element set of " + fileName + " cannot be read";
            break;
    }
}

bool PacketRecordSource::next(ExportRecord& record) {
    if (!stream_) return false;
    const NavRecord* navigation = stream_->next();
    if (navigation == nullptr) {
        if (!pass_->packetFile().eof()) {
            error_ = "packet file read error at packet index " + std::to_string(pass_->packetFile().currentIndex()) +
                     " of " + pass_->packetFile().fileName();
        }
        stream_.reset();
        return false;
    }
    // The values kova's record pass writes: the time through tai93FromJulianDate, position
    // and velocity unchanged.
    record.tai93Seconds = tai93FromJulianDate(navigation->julianDate());
    record.tag = stream_->currentTag();
    const NavValues& values = navigation->values();
    for (std::size_t i = 0; i < 3; ++i) {
        record.position[i] = values[nav_value::kPosition + i];
        record.velocity[i] = values[nav_value::kVelocity + i];
    }
    for (std::size_t i = 0; i < 4; ++i) record.quaternion[i] = values[nav_value::kQuaternion + i];
    record.qaFlags = stream_->currentQaFlags();
    return true;
}

bool PacketRecordSource::rewind() {
    if (stream_ || !error_.empty() || !pass_ || !pass_->packetFileOpen() || !pass_->packetFile().rewind()) {
        return false;
    }
    stream_.emplace(pass_->packetFile(), packetReadSize_);
    return true;
}

std::size_t PacketRecordSource::navigationPacketCount() const {
    if (!pass_ || !pass_->packetFileOpen()) return 0;
    return static_cast<std::size_t>(pass_->packetFile().indexCount());
}

namespace {

constexpr std::size_t kReadChunkRecords = 16384;  // 1 MiB of records per read

bool readFully(int descriptor, std::uint8_t* data, std::size_t size, std::size_t& got) {
    got = 0;
    while (got < size) {
        const ssize_t n = ::read(descriptor, data + got, size - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

EphemerisRecordSource::EphemerisRecordSource(const std::string& fileName) : fileName_(fileName.c_str()) {
    if (namesDirectory(fileName_)) {
        fail("cannot open it: it is a directory");
        return;
    }
    std::error_code noFile;
    if (std::filesystem::exists(fileName_, noFile) && !namesRegularFile(fileName_)) {
        fail("cannot open it: it is not a regular file");
        return;
    }
    descriptor_ = ::open(fileName_.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor_ < 0) {
        fail(std::string("cannot open it: ") + std::strerror(errno));
        return;
    }
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0) {
        fail(std::string("cannot read it: ") + std::strerror(errno));
        return;
    }
    const auto fileSize = static_cast<std::uint64_t>(status.st_size);
    ToolkitHeader common;
    EphemerisHeader kind;
    std::size_t got = 0;
    if (fileSize < kFileHeaderSize) {
        fail("it is " + std::to_string(fileSize) + " bytes long, shorter than the two header blocks (" +
             std::to_string(kFileHeaderSize) + " bytes)");
        return;
    }
    if (!readFully(descriptor_, common.data(), common.size(), got) || got != common.size() ||
        !readFully(descriptor_, kind.data(), kind.size(), got) || got != kind.size()) {
        fail("cannot read its header blocks");
        return;
    }
    if (kind.referenceFrame() != kJ2000ReferenceFrame) {
        fail("its reference frame is '" + std::string(kind.referenceFrame()) + "', not J2000");
        return;
    }
    recordCount_ = common.recordCount();
    if (recordCount_ == 0) {
        fail("it holds no records (No. Records = 0, as in the file of a run that did not end)");
        return;
    }
    const std::uint64_t recordsStart =
        kFileHeaderSize + std::uint64_t{kUniversalRefSize} * common.universalRefCount();
    const std::uint64_t recordsEnd = recordsStart + std::uint64_t{ephemeris_record::kSize} * recordCount_;
    if (fileSize < recordsEnd) {
        fail("it is " + std::to_string(fileSize) + " bytes long, shorter than its header says (" +
             std::to_string(recordCount_) + " records end at byte " + std::to_string(recordsEnd) + ")");
        return;
    }
    if ((fileSize - recordsEnd) % orbit_metadata_record::kSize != 0) {
        fail("the " + std::to_string(fileSize - recordsEnd) +
             " bytes after its records are not whole orbit metadata records");
        return;
    }
    if (::lseek(descriptor_, static_cast<off_t>(recordsStart), SEEK_SET) < 0) {
        fail(std::string("cannot read it: ") + std::strerror(errno));
        return;
    }
    spacecraft_ = std::string(common.spacecraft());
    source_ = std::string(common.source());
    buffer_.resize(kReadChunkRecords * ephemeris_record::kSize);
}

EphemerisRecordSource::~EphemerisRecordSource() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

bool EphemerisRecordSource::fail(const std::string& reason) {
    error_ = "the ephemeris file " + fileName_ + ": " + reason;
    recordCount_ = 0;
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
    return false;
}

bool EphemerisRecordSource::refill() {
    const std::uint32_t left = recordCount_ - delivered_;
    const std::size_t wanted = std::min<std::size_t>(left, kReadChunkRecords) * ephemeris_record::kSize;
    std::size_t got = 0;
    if (!readFully(descriptor_, buffer_.data(), wanted, got)) {
        return fail(std::string("read error: ") + std::strerror(errno));
    }
    if (got != wanted) return fail("it ended before its " + std::to_string(recordCount_) + " records did");
    bufferFill_ = got;
    bufferPosition_ = 0;
    return true;
}

bool EphemerisRecordSource::next(ExportRecord& record) {
    if (delivered_ >= recordCount_) return false;
    if (bufferPosition_ == bufferFill_ && !refill()) return false;
    const std::uint8_t* bytes = buffer_.data() + bufferPosition_;
    namespace er = ephemeris_record;
    record.tai93Seconds = be::loadF64(bytes + er::kTime);
    for (std::size_t i = 0; i < 3; ++i) {
        record.position[i] = be::loadF64(bytes + er::kPosition + 8 * i);
        record.velocity[i] = be::loadF64(bytes + er::kVelocity + 8 * i);
    }
    record.quaternion = {};
    record.tag = {};
    const std::uint32_t flags = be::loadU32(bytes + er::kQaFlags);
    if (flags > 0xFFFFu) {
        return fail("record " + std::to_string(delivered_) + " has a flag word with bits above 15 set");
    }
    record.qaFlags = static_cast<std::uint16_t>(flags);
    bufferPosition_ += er::kSize;
    ++delivered_;
    return true;
}

}  // namespace kova
