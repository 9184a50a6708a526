#include "toolkit/attitude_record.h"

#include "core/big_endian.h"
#include "packets/nav_record.h"
#include "time/time_scales.h"
#include "toolkit/attitude_angles.h"
#include "toolkit/double_fields.h"
#include "toolkit/layout.h"

namespace kova {

using namespace attitude_record;

AttitudeRecord::AttitudeRecord() : storebase(kSize) {}

void AttitudeRecord::setTime(double julianDate) { storeDoubleField(data() + kTime, tai93FromJulianDate(julianDate)); }
void AttitudeRecord::setAngles(const std::array<double, 3>& angles) { storeVector3(data() + kAngles, angles); }
void AttitudeRecord::setRates(const std::array<double, 3>& rates) { storeVector3(data() + kRates, rates); }
void AttitudeRecord::setQaFlags(std::uint32_t flags) { be::storeU32(data() + kQaFlags, flags); }

void AttitudeRecord::setFromNavValues(double julianDate, const NavValues& values,
                                      const std::array<double, 3>& angles, std::uint32_t flags) {
    setTime(julianDate);
    setAngles(angles);
    constexpr std::size_t r = nav_value::kRates;
    setRates({values[r], values[r + 1], values[r + 2]});
    setQaFlags(flags);
}

double AttitudeRecord::time() const { return be::loadF64(data() + kTime); }
std::array<double, 3> AttitudeRecord::angles() const { return loadVector3(data() + kAngles); }
std::array<double, 3> AttitudeRecord::rates() const { return loadVector3(data() + kRates); }
std::uint32_t AttitudeRecord::qaFlags() const { return be::loadU32(data() + kQaFlags); }

}  // namespace kova
