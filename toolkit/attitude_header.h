#pragma once
// Attitude header (372 bytes, after the common header): the axis numbers of the three
// attitude angles in record order, and QA parameters and statistics that kova leaves at 0.0.
#include <cstddef>
#include <cstdint>

#include "core/storebase.h"

namespace kova {

class AttitudeHeader : public storebase {
public:
    AttitudeHeader();

    void setAngleOrder(std::int32_t first, std::int32_t second, std::int32_t third);

    std::uint32_t angleOrder(std::size_t index) const;  // index 0 to 2
    float qaParameter(std::size_t index) const;         // index 0 to 15
    float qaStatistic(std::size_t index) const;         // index 0 to 3
};

}  // namespace kova
