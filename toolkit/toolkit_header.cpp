#include "toolkit/toolkit_header.h"

#include <cstring>

#include "core/big_endian.h"
#include "time/time_range_text.h"
#include "time/time_scales.h"
#include "toolkit/double_fields.h"
#include "toolkit/layout.h"
#include "toolkit/text_field.h"

namespace kova {

using namespace toolkit_header;

ToolkitHeader::ToolkitHeader() : storebase(kSize) {}

void ToolkitHeader::setSpacecraft(std::string_view name) {
    putTextField(data() + kSpacecraft, kSpacecraftSize, name);
}
void ToolkitHeader::setSource(std::string_view source) { putTextField(data() + kSource, kSourceSize, source); }
void ToolkitHeader::setVersion(std::string_view version) {
    putTextField(data() + kVersion, kVersionSize, version);
}

void ToolkitHeader::setTimeRange(double startJulianDate, double endJulianDate) {
    storeDoubleField(data() + kStartTime, tai93FromJulianDate(startJulianDate));
    storeDoubleField(data() + kEndTime, tai93FromJulianDate(endJulianDate));
    std::memset(data() + kTimeRange, 0, kTimeRangeSize);
    formatTimeRange(startJulianDate, endJulianDate, data() + kTimeRange);
}

void ToolkitHeader::setInterval(float seconds) { be::storeF32(data() + kInterval, seconds); }
void ToolkitHeader::setRecordCount(std::int32_t count) { be::storeI32(data() + kRecordCount, count); }

std::string_view ToolkitHeader::spacecraft() const { return textField(data() + kSpacecraft, kSpacecraftSize); }
std::string_view ToolkitHeader::timeRange() const { return textField(data() + kTimeRange, kTimeRangeSize); }
std::string_view ToolkitHeader::source() const { return textField(data() + kSource, kSourceSize); }
std::string_view ToolkitHeader::version() const { return textField(data() + kVersion, kVersionSize); }
double ToolkitHeader::startTime() const { return be::loadF64(data() + kStartTime); }
double ToolkitHeader::endTime() const { return be::loadF64(data() + kEndTime); }
float ToolkitHeader::interval() const { return be::loadF32(data() + kInterval); }
std::uint32_t ToolkitHeader::universalRefCount() const { return be::loadU32(data() + kUniversalRefs); }
std::uint32_t ToolkitHeader::recordCount() const { return be::loadU32(data() + kRecordCount); }

}  // namespace kova
