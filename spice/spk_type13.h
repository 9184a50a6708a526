#pragma once
// An SPK array of type 13: Hermite interpolation over unequal time steps. N states (x, y, z in
// km, vx, vy, vz in km/s) in epoch order, their N epochs (ET), every 100th epoch again as a
// directory, then the window size less one and N, both as doubles. A reader takes the W states
// around the time asked and the polynomial of degree 2W - 1 through their positions and
// velocities; with W = 2 each interval is the cubic through its two end states.
#include <cstddef>
#include <cstdint>

#include "spice/daf_writer.h"

namespace kova::spk_type13 {

inline constexpr std::int32_t kType = 13;
inline constexpr std::size_t kWordsPerState = 6;
inline constexpr std::uint64_t kEpochsPerDirectoryEntry = 100;
// Two states per window (degree 3): continuous, exact at every state, fine for two states.
inline constexpr int kWindowSize = 2;

// 7N + (N - 1)/100 + 2 words, N >= 1.
inline std::uint64_t arrayWords(std::uint64_t states) {
    return (kWordsPerState + 1) * states + (states - 1) / kEpochsPerDirectoryEntry + 2;
}

// The words after an array's `count` states (which may go out in pieces before, as they come):
// epochOf(i) gives the ET of state i (0-based; called once per state, again for the
// directory's epochs).
template <typename EpochOf>
void writeAfterStates(DafWriter& out, std::size_t count, int windowSize, EpochOf&& epochOf) {
    for (std::size_t i = 0; i < count; ++i) out.putWord(epochOf(i));
    for (std::size_t i = kEpochsPerDirectoryEntry; i < count; i += kEpochsPerDirectoryEntry) out.putWord(epochOf(i - 1));
    out.putWord(static_cast<double>(windowSize - 1));
    out.putWord(static_cast<double>(count));
}

// Writes one array's words: `states` holds 6 `count` doubles, then as writeAfterStates.
template <typename EpochOf>
void writeArray(DafWriter& out, const double* states, std::size_t count, int windowSize, EpochOf&& epochOf) {
    out.putWords(states, kWordsPerState * count);
    writeAfterStates(out, count, windowSize, epochOf);
}

}  // namespace kova::spk_type13
