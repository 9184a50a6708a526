#pragma once
// Byte layouts of the toolkit files (big-endian). The writers in kova and the dump tools
// read these offsets from here and nowhere else.
#include <cstddef>

namespace kova {

// Common header of both files (140 bytes).
namespace toolkit_header {
inline constexpr std::size_t kSpacecraft = 0;      // text, 24 bytes
inline constexpr std::size_t kSpacecraftSize = 24;
inline constexpr std::size_t kTimeRange = 24;      // text, 48 bytes
inline constexpr std::size_t kTimeRangeSize = 48;
inline constexpr std::size_t kSource = 72;         // text, 32 bytes
inline constexpr std::size_t kSourceSize = 32;
inline constexpr std::size_t kVersion = 104;       // text, 8 bytes
inline constexpr std::size_t kVersionSize = 8;
inline constexpr std::size_t kStartTime = 112;     // double, TAI93 seconds
inline constexpr std::size_t kEndTime = 120;       // double, TAI93 seconds
inline constexpr std::size_t kInterval = 128;      // float, seconds
inline constexpr std::size_t kUniversalRefs = 132; // uint32
inline constexpr std::size_t kRecordCount = 136;   // uint32
inline constexpr std::size_t kSize = 140;
}  // namespace toolkit_header

// Ephemeris file header (372 bytes, after the common header).
namespace ephemeris_header {
inline constexpr std::size_t kOrbitCount = 0;      // uint32
inline constexpr std::size_t kBeginOrbit = 4;      // uint32
inline constexpr std::size_t kEndOrbit = 8;        // uint32
inline constexpr std::size_t kReferenceFrame = 12; // text, 8 bytes
inline constexpr std::size_t kReferenceFrameSize = 8;
inline constexpr std::size_t kKeplerElements = 20; // 6 doubles
inline constexpr std::size_t kKeplerElementCount = 6;
inline constexpr std::size_t kQaParameters = 76;   // 16 floats
inline constexpr std::size_t kQaStatistics = 140;  // 4 floats
inline constexpr std::size_t kSize = 372;
}  // namespace ephemeris_header

// Attitude file header (372 bytes, after the common header).
namespace attitude_header {
inline constexpr std::size_t kAngleOrder = 0;      // 3 uint32
inline constexpr std::size_t kAngleOrderCount = 3;
inline constexpr std::size_t kQaParameters = 12;   // 16 floats
inline constexpr std::size_t kQaStatistics = 76;   // 4 floats
inline constexpr std::size_t kSize = 372;
}  // namespace attitude_header

inline constexpr std::size_t kQaParameterCount = 16;
inline constexpr std::size_t kQaStatisticCount = 4;
inline constexpr std::size_t kUniversalRefSize = 256;
inline constexpr std::size_t kFileHeaderSize = toolkit_header::kSize + ephemeris_header::kSize;  // 512

// One ephemeris record (64 bytes).
namespace ephemeris_record {
inline constexpr std::size_t kTime = 0;            // double, TAI93 seconds
inline constexpr std::size_t kPosition = 8;        // 3 doubles, m
inline constexpr std::size_t kVelocity = 32;       // 3 doubles, m/s
inline constexpr std::size_t kQaFlags = 56;        // uint32
inline constexpr std::size_t kSize = 64;
}  // namespace ephemeris_record

// One attitude record (64 bytes).
namespace attitude_record {
inline constexpr std::size_t kTime = 0;            // double, TAI93 seconds
inline constexpr std::size_t kAngles = 8;          // 3 doubles: A(1,2), A(2,3), A(3,1)
inline constexpr std::size_t kRates = 32;          // 3 doubles
inline constexpr std::size_t kQaFlags = 56;        // uint32
inline constexpr std::size_t kSize = 64;
}  // namespace attitude_record

// One orbit metadata record (32 bytes), after the ephemeris records.
namespace orbit_metadata_record {
inline constexpr std::size_t kOrbitNumber = 0;             // uint32
inline constexpr std::size_t kAscendingNodeTime = 8;       // double, TAI93 seconds
inline constexpr std::size_t kDescendingNodeTime = 16;     // double, TAI93 seconds
inline constexpr std::size_t kDescendingNodeLongitude = 24; // double, rad
inline constexpr std::size_t kSize = 32;
}  // namespace orbit_metadata_record

// Quality flag bits of a record.
namespace qa_flags {
inline constexpr unsigned kRep = 5;  // fill record interpolated into a short gap
inline constexpr unsigned kLgb = 6;  // long gap before
inline constexpr unsigned kSgb = 7;  // short gap before
inline constexpr unsigned kSgf = 8;  // short gap after
inline constexpr unsigned kLgf = 9;  // long gap after
}  // namespace qa_flags

}  // namespace kova
