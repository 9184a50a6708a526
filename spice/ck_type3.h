#pragma once
// A CK array of type 3: discrete pointing instances with linear interpolation between them
// (a constant rate about one axis) inside interpolation intervals. Without angular velocity:
// N quaternions (scalar first) in time order, their N times (encoded spacecraft clock), every
// 100th time again as a directory, the start times of the intervals, every 100th start again,
// then the number of intervals and N, both as doubles.
#include <cstddef>
#include <cstdint>

#include "spice/daf_writer.h"

namespace kova::ck_type3 {

inline constexpr std::int32_t kType = 3;
inline constexpr std::int32_t kNoAngularVelocity = 0;
inline constexpr std::size_t kWordsPerQuaternion = 4;
inline constexpr std::uint64_t kTimesPerDirectoryEntry = 100;

// 5N + (N - 1)/100 + 3 words: one interpolation interval, N >= 1.
inline std::uint64_t arrayWordsOneInterval(std::uint64_t instances) {
    return (kWordsPerQuaternion + 1) * instances + (instances - 1) / kTimesPerDirectoryEntry + 3;
}

// The words after the `count` quaternions of an array of a single interpolation interval that
// starts at the first instance (the quaternions may go out in pieces before, as they come):
// timeOf(i) the encoded clock time of instance i (0-based; called once per instance, again for
// the directory's times and the interval start).
template <typename TimeOf>
void writeAfterQuaternionsOneInterval(DafWriter& out, std::size_t count, TimeOf&& timeOf) {
    for (std::size_t i = 0; i < count; ++i) out.putWord(timeOf(i));
    for (std::size_t i = kTimesPerDirectoryEntry; i < count; i += kTimesPerDirectoryEntry) out.putWord(timeOf(i - 1));
    out.putWord(timeOf(0));  // the interval's start; no start directory below 101 intervals
    out.putWord(1.0);        // intervals
    out.putWord(static_cast<double>(count));
}

// Writes one array of a single interpolation interval: `quaternions` holds 4 `count` doubles,
// then as writeAfterQuaternionsOneInterval.
template <typename TimeOf>
void writeArrayOneInterval(DafWriter& out, const double* quaternions, std::size_t count, TimeOf&& timeOf) {
    out.putWords(quaternions, kWordsPerQuaternion * count);
    writeAfterQuaternionsOneInterval(out, count, timeOf);
}

}  // namespace kova::ck_type3
