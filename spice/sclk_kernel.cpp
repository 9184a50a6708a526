#include "spice/sclk_kernel.h"

#include "spice/text_kernel.h"

namespace kova {

std::string sclkKernelText(std::int32_t spacecraftId, std::string_view comments) {
    using namespace text_kernel;
    const std::string suffix = "_" + std::to_string(-static_cast<std::int64_t>(spacecraftId));
    std::string text;
    appendHeader(text, "KPL/SCLK", comments);
    appendAssignment(text, "SCLK_KERNEL_ID", "( @1958-01-01T00:00:00 )");
    appendAssignment(text, "SCLK_DATA_TYPE" + suffix, "( 1 )");
    appendAssignment(text, "SCLK01_TIME_SYSTEM" + suffix, "( 2 )");
    appendAssignment(text, "SCLK01_N_FIELDS" + suffix, "( 2 )");
    appendAssignment(text, "SCLK01_MODULI" + suffix, "( 4294967296 10000000 )");
    appendAssignment(text, "SCLK01_OFFSETS" + suffix, "( 0 0 )");
    appendAssignment(text, "SCLK01_OUTPUT_DELIM" + suffix, "( 1 )");
    appendAssignment(text, "SCLK_PARTITION_START" + suffix, "( 0 )");
    appendAssignment(text, "SCLK_PARTITION_END" + suffix, "( " + std::string(kClockPartitionEndText) + " )");
    appendAssignment(text, "SCLK01_COEFFICIENTS" + suffix, "( 0 " + std::string(kClockStartTdtText) + " 1 )");
    appendTrailer(text);
    return text;
}

}  // namespace kova
