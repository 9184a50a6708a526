// libFuzzer target: kovareport's packet census and its three forms over arbitrary packet files and names.
#include <cstddef>
#include <cstdint>

#include "fuzz/report_census_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kova::fuzz::fuzzReportCensus(data, size);
}
