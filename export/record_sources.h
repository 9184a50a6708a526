#pragma once
// The two inputs of an export: a packet file, read with kova's own packet walk and record
// stream (gap flags, fill records), and an ephemeris file written by kova.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/export_record.h"
#include "pass/pass_input.h"
#include "toolkit/record_stream.h"

namespace kova {

// The records kova writes for a packet file, with their quaternions: the packet file indexed
// for its navigation packets (APID 957), the first and last of them read as kova reads them,
// then every record the record stream hands out.
class PacketRecordSource final : public RecordSource {
public:
    // `packetReadSize`: navPacketSizeFor of the satellite name (126 or 214 bytes). A file that
    // cannot be opened or indexed, fewer than two navigation packets, or a first or last
    // navigation packet that is truncated or of another length leave error() set and no
    // records to read. So does a packet that was whole when the file was indexed and is cut
    // short when its record is read (the file shrank during the export).
    PacketRecordSource(const std::string& fileName, std::uint32_t packetReadSize);

    bool next(ExportRecord& record) override;
    // The same indexed packets once more, after a walk that reached their end.
    bool rewind() override;

    // The navigation packets the file's index holds (0 when it could not be indexed): with
    // the fill records of short gaps, about the number of records the pass gives.
    std::size_t navigationPacketCount() const;

private:
    std::uint32_t packetReadSize_;
    std::optional<PassInput> pass_;
    std::optional<NavRecordStream> stream_;
};

// The records of an ephemeris file as they are stored: TAI93 times, positions, velocities and
// flag words, No. Records of them (the record count of the header).
class EphemerisRecordSource final : public RecordSource {
public:
    // Reads and checks the two header blocks: a file that cannot be opened, that is shorter
    // than its headers and the records they announce, whose length after the records is not a
    // whole number of orbit metadata records, that holds no records or whose frame is not
    // J2000 leaves error() set and no records to read.
    explicit EphemerisRecordSource(const std::string& fileName);
    ~EphemerisRecordSource() override;
    EphemerisRecordSource(const EphemerisRecordSource&) = delete;
    EphemerisRecordSource& operator=(const EphemerisRecordSource&) = delete;

    bool next(ExportRecord& record) override;

    // Header texts, up to their first zero byte.
    const std::string& spacecraft() const { return spacecraft_; }
    const std::string& source() const { return source_; }
    std::uint32_t recordCount() const { return recordCount_; }

private:
    bool fail(const std::string& reason);
    bool refill();

    std::string fileName_;
    int descriptor_ = -1;
    std::string spacecraft_;
    std::string source_;
    std::uint32_t recordCount_ = 0;
    std::uint32_t delivered_ = 0;
    std::vector<std::uint8_t> buffer_;
    std::size_t bufferFill_ = 0;
    std::size_t bufferPosition_ = 0;
};

}  // namespace kova
