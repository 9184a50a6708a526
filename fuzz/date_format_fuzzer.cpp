// libFuzzer target: the calendar formatter on any date and format text.
#include <cstddef>
#include <cstdint>

#include "fuzz/date_format_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kova::fuzz::fuzzDateFormat(data, size);
}
