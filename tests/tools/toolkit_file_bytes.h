#pragma once
// A small writer of toolkit files for the dump tests, independent of kova's own writers:
// the blocks are laid out here from the file layout table, with literal offsets, so a wrong
// offset in the shared layout shows up as a wrong dump.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kova::test {

class ToolkitFileBytes {
public:
    // Offsets of the common header (bytes 0 to 139) and of the kind header (from byte 140).
    static constexpr std::size_t kSpacecraft = 0;
    static constexpr std::size_t kTimeRange = 24;
    static constexpr std::size_t kSource = 72;
    static constexpr std::size_t kVersion = 104;
    static constexpr std::size_t kInterval = 128;
    static constexpr std::size_t kUniversalRefs = 132;
    static constexpr std::size_t kRecordCount = 136;
    static constexpr std::size_t kKindHeader = 140;
    static constexpr std::size_t kOrbitCount = kKindHeader + 0;
    static constexpr std::size_t kBeginOrbit = kKindHeader + 4;
    static constexpr std::size_t kEndOrbit = kKindHeader + 8;
    static constexpr std::size_t kReferenceFrame = kKindHeader + 12;
    static constexpr std::size_t kKeplerElements = kKindHeader + 20;
    static constexpr std::size_t kEphemerisQaParameters = kKindHeader + 76;
    static constexpr std::size_t kEphemerisQaStatistics = kKindHeader + 140;
    static constexpr std::size_t kAngleOrder = kKindHeader + 0;
    static constexpr std::size_t kAttitudeQaParameters = kKindHeader + 12;
    static constexpr std::size_t kAttitudeQaStatistics = kKindHeader + 76;
    static constexpr std::size_t kHeadersSize = 512;

    // Both header blocks, all zero.
    ToolkitFileBytes() : bytes_(kHeadersSize, '\0') {}

    // Raw bytes at an offset (texts may include NULs or fill their field).
    void putText(std::size_t offset, std::string_view text);
    void putU32(std::size_t offset, std::uint32_t value);
    void putF32(std::size_t offset, float value);
    void putF64(std::size_t offset, double value);

    // One 64-byte record: time, two triples (position and velocity, or angles and rates),
    // flag word, four zero bytes.
    void appendRecord(double tai93Seconds, const double (&first)[3], const double (&second)[3],
                      std::uint32_t flagWord);
    // One 32-byte orbit metadata record.
    void appendOrbitMetadata(std::uint32_t orbitNumber, double ascendingNodeTai93,
                             double descendingNodeTai93, double descendingNodeLongitude);
    void appendZeros(std::size_t count) { bytes_.append(count, '\0'); }
    // The common header as kova fills it: spacecraft MARU, the two time texts around a NUL,
    // source DB, version 2.0, interval 1.0 and the record count.
    void putKovaCommonHeader(std::uint32_t recordCount);

    const std::string& bytes() const { return bytes_; }
    // The first `length` bytes (all of them by default) written to `path`.
    void writeTo(const std::string& path, std::size_t length = std::string::npos) const;

private:
    std::string bytes_;
};

// The dump lines of that common header, from the spacecraft to the universal references.
std::string kovaCommonHeaderDump(std::uint32_t recordCount);

// A per-test file name in the build tree: <dir>/<test name>.<suffix>.
std::string testFilePath(std::string_view suffix);
// The whole content of a file (empty when it does not exist).
std::string readWholeFile(const std::string& path);
bool fileExists(const std::string& path);

}  // namespace kova::test
