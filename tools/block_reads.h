#pragma once
// How the dumps read a toolkit file: whole blocks into their buffers, the universal
// references skipped unread, and the input position as the stream reports it.
#include <cstdint>
#include <iosfwd>

namespace kova {

class storebase;

// Reads the block's size in bytes into its buffer. The result is not tested here: at the end
// of the file the bytes that were there land at the start of the buffer and the stream fails;
// a failed stream reads nothing and leaves the buffer as it was.
void readBlock(std::istream& input, storebase& block);

// Byte offset of the input from the start of the file, or -1 when the stream has failed.
std::int64_t inputPosition(std::istream& input);

// Moves a stream that has not failed forward past `count` universal reference blocks of 256
// bytes each; the distance is reckoned in 64 bits so no count can wrap it.
void skipUniversalReferences(std::istream& input, std::uint32_t count);

}  // namespace kova
