#include "toolkit/attitude_header.h"

#include "core/big_endian.h"
#include "toolkit/layout.h"

namespace kova {

using namespace attitude_header;

AttitudeHeader::AttitudeHeader() : storebase(kSize) {}

void AttitudeHeader::setAngleOrder(std::int32_t first, std::int32_t second, std::int32_t third) {
    be::storeI32(data() + kAngleOrder, first);
    be::storeI32(data() + kAngleOrder + 4, second);
    be::storeI32(data() + kAngleOrder + 8, third);
}

std::uint32_t AttitudeHeader::angleOrder(std::size_t index) const {
    return be::loadU32(data() + kAngleOrder + index * sizeof(std::uint32_t));
}
float AttitudeHeader::qaParameter(std::size_t index) const {
    return be::loadF32(data() + kQaParameters + index * sizeof(float));
}
float AttitudeHeader::qaStatistic(std::size_t index) const {
    return be::loadF32(data() + kQaStatistics + index * sizeof(float));
}

}  // namespace kova
