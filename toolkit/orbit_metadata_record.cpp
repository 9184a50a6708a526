#include "toolkit/orbit_metadata_record.h"

#include "core/big_endian.h"
#include "time/time_scales.h"
#include "toolkit/double_fields.h"
#include "toolkit/layout.h"

namespace kova {

using namespace orbit_metadata_record;

OrbitMetadataRecord::OrbitMetadataRecord() : storebase(kSize) {}

void OrbitMetadataRecord::setOrbitNumber(std::int32_t orbitNumber) { be::storeI32(data() + kOrbitNumber, orbitNumber); }
void OrbitMetadataRecord::setAscendingNodeTime(double julianDate) {
    storeDoubleField(data() + kAscendingNodeTime, tai93FromJulianDate(julianDate));
}
void OrbitMetadataRecord::setDescendingNodeTime(double julianDate) {
    storeDoubleField(data() + kDescendingNodeTime, tai93FromJulianDate(julianDate));
}
void OrbitMetadataRecord::setDescendingNodeLongitude(double longitude) {
    storeDoubleField(data() + kDescendingNodeLongitude, longitude);
}

std::uint32_t OrbitMetadataRecord::orbitNumber() const { return be::loadU32(data() + kOrbitNumber); }
double OrbitMetadataRecord::ascendingNodeTime() const { return be::loadF64(data() + kAscendingNodeTime); }
double OrbitMetadataRecord::descendingNodeTime() const { return be::loadF64(data() + kDescendingNodeTime); }
double OrbitMetadataRecord::descendingNodeLongitude() const { return be::loadF64(data() + kDescendingNodeLongitude); }

}  // namespace kova
