// libFuzzer target: kovaexport's passes and messages over arbitrary ephemeris and packet files.
#include <cstddef>
#include <cstdint>

#include "fuzz/export_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kova::fuzz::fuzzExport(data, size);
}
