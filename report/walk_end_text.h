#pragma once
// Words for why the packet walk stopped, shared by the three forms of the report.
#include <string_view>

#include "packets/packet_census.h"

namespace kova::report {

// "end_of_file", "partial_header", "truncated_packet", "invalid_header", "read_error".
std::string_view walkEndName(CensusEnd end);

}  // namespace kova::report
