#include "toolkit/ephemeris_header.h"

#include "core/big_endian.h"
#include "toolkit/double_fields.h"
#include "toolkit/layout.h"
#include "toolkit/text_field.h"

namespace kova {

using namespace ephemeris_header;

std::uint32_t orbitCount(std::int32_t beginOrbit, std::int32_t endOrbit) {
    const std::uint32_t difference = static_cast<std::uint32_t>(endOrbit) - static_cast<std::uint32_t>(beginOrbit);
    return difference == 0 ? 1 : difference;
}

EphemerisHeader::EphemerisHeader() : storebase(kSize) {}

void EphemerisHeader::setReferenceFrame(std::string_view frame) {
    putTextField(data() + kReferenceFrame, kReferenceFrameSize, frame);
}

void EphemerisHeader::setOrbits(std::int32_t beginOrbit, std::int32_t endOrbit, std::int32_t count) {
    be::storeI32(data() + kBeginOrbit, beginOrbit);
    be::storeI32(data() + kEndOrbit, endOrbit);
    be::storeI32(data() + kOrbitCount, count);
}

void EphemerisHeader::setKeplerElements(const KeplerElements& elements) {
    for (std::size_t n = 0; n < elements.size(); ++n) {
        storeDoubleField(data() + kKeplerElements + n * sizeof(double), elements[n]);
    }
}

std::uint32_t EphemerisHeader::orbitCount() const { return be::loadU32(data() + kOrbitCount); }
std::uint32_t EphemerisHeader::beginOrbit() const { return be::loadU32(data() + kBeginOrbit); }
std::uint32_t EphemerisHeader::endOrbit() const { return be::loadU32(data() + kEndOrbit); }
std::string_view EphemerisHeader::referenceFrame() const {
    return textField(data() + kReferenceFrame, kReferenceFrameSize);
}

KeplerElements EphemerisHeader::keplerElements() const {
    KeplerElements elements{};
    for (std::size_t n = 0; n < elements.size(); ++n) {
        elements[n] = be::loadF64(data() + kKeplerElements + n * sizeof(double));
    }
    return elements;
}

float EphemerisHeader::qaParameter(std::size_t index) const {
    return be::loadF32(data() + kQaParameters + index * sizeof(float));
}
float EphemerisHeader::qaStatistic(std::size_t index) const {
    return be::loadF32(data() + kQaStatistics + index * sizeof(float));
}

}  // namespace kova
