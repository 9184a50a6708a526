#pragma once
// The spacecraft clock kernel (type 1) that reads the CK's times: one partition from reading
// 0 at 1958-01-01T00:00:00 TAI, two fields (seconds modulo 2^32, ticks of 0.1 us modulo
// 10^7), parallel time TDT running at one second per second. It depends on nothing but the
// spacecraft ID, so every pass of one spacecraft gets the same data and their CKs load together.
#include <cstdint>
#include <string>
#include <string_view>

namespace kova {

// TDT of clock reading 0: 1958-01-01T00:00:00 TAI is 1325419200 s before J2000 TAI, + 32.184 s.
inline constexpr std::string_view kClockStartTdtText = "-1325419167.816";
inline constexpr std::string_view kClockPartitionEndText = "42949672960000000";  // 2^32 * 10^7 ticks

// The whole kernel: "KPL/SCLK", `comments` (lines each ending in '\n'), the data.
std::string sclkKernelText(std::int32_t spacecraftId, std::string_view comments);

}  // namespace kova
