#pragma once
// The quality flag text of a dump record line: the five named bits of a record's flag word,
// each as one digit, in the order the ground operators read them (short gap after, short gap
// before, long gap after, long gap before, filled record).
#include <cstddef>
#include <cstdint>

namespace kova {

// Bits 0 to 15 of the 32-bit flag word carry flags; bits 16 to 31 are ignored.
inline constexpr std::uint32_t kSignificantQaFlagBits = 0xFFFFu;

// True when any of bits 0 to 15 is set, named or not.
inline bool anyQaFlagSet(std::uint32_t flagWord) {
    return (flagWord & kSignificantQaFlagBits) != 0;
}

// "sgf(8)=b  sgb(7)=b  lgf(9)=b  lgb(6)=b  rep(5)=b": always this many characters.
inline constexpr std::size_t kQaFlagTextLength = 48;

// Writes the flag text of `flagWord` and returns the end of it.
char* writeQaFlagText(char* out, std::uint32_t flagWord);

}  // namespace kova
