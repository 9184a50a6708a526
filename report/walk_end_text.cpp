#include "report/walk_end_text.h"

namespace kova::report {

std::string_view walkEndName(CensusEnd end) {
    switch (end) {
        case CensusEnd::kEndOfFile: return "end_of_file";
        case CensusEnd::kPartialHeader: return "partial_header";
        case CensusEnd::kTruncatedPacket: return "truncated_packet";
        case CensusEnd::kInvalidHeader: return "invalid_header";
        case CensusEnd::kReadError: return "read_error";
    }
    return "read_error";
}

}  // namespace kova::report
