// libFuzzer target: the ephemeris dump on arbitrary files.
#include <cstddef>
#include <cstdint>

#include "fuzz/dump_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kova::fuzz::fuzzEphemerisDump(data, size);
}
