#include "toolkit/ephemeris_record.h"

#include "core/big_endian.h"
#include "packets/nav_record.h"
#include "time/time_scales.h"
#include "toolkit/double_fields.h"
#include "toolkit/layout.h"

namespace kova {

using namespace ephemeris_record;

EphemerisRecord::EphemerisRecord() : storebase(kSize) {}

void EphemerisRecord::setTime(double julianDate) { storeDoubleField(data() + kTime, tai93FromJulianDate(julianDate)); }
void EphemerisRecord::setPosition(const std::array<double, 3>& position) { storeVector3(data() + kPosition, position); }
void EphemerisRecord::setVelocity(const std::array<double, 3>& velocity) { storeVector3(data() + kVelocity, velocity); }
void EphemerisRecord::setQaFlags(std::uint32_t flags) { be::storeU32(data() + kQaFlags, flags); }

void EphemerisRecord::setFromNavValues(double julianDate, const NavValues& values, std::uint32_t flags) {
    setTime(julianDate);
    constexpr std::size_t p = nav_value::kPosition;
    constexpr std::size_t v = nav_value::kVelocity;
    setPosition({values[p], values[p + 1], values[p + 2]});
    setVelocity({values[v], values[v + 1], values[v + 2]});
    setQaFlags(flags);
}

double EphemerisRecord::time() const { return be::loadF64(data() + kTime); }
std::array<double, 3> EphemerisRecord::position() const { return loadVector3(data() + kPosition); }
std::array<double, 3> EphemerisRecord::velocity() const { return loadVector3(data() + kVelocity); }
std::uint32_t EphemerisRecord::qaFlags() const { return be::loadU32(data() + kQaFlags); }

}  // namespace kova
