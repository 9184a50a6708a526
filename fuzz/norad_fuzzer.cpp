// libFuzzer target: the norad file search and the element set lines.
#include <cstddef>
#include <cstdint>

#include "fuzz/norad_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kova::fuzz::fuzzNoradFile(data, size);
}
