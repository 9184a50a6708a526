// libFuzzer target: the configuration file reader.
#include <cstddef>
#include <cstdint>

#include "fuzz/config_file_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kova::fuzz::fuzzConfigFile(data, size);
}
