#pragma once
// The time tag of a navigation record: whole seconds since 1958-01-01 00:00:00 TAI and a
// sub-second count in units of 1.52e-05 s. The packets carry 32-bit seconds; a fill record k
// after a real record (S0, C0) carries (S0 + k, C0), which may pass 2^32 near the end of the
// 32-bit range, so the seconds are held in 64 bits. Tags compare as (seconds, count).
#include <compare>
#include <cstdint>

#include "time/time_scales.h"

namespace kova {

struct TimeTag {
    std::int64_t seconds = 0;
    std::uint16_t subsecondCount = 0;

    friend constexpr auto operator<=>(const TimeTag&, const TimeTag&) = default;
};

// Seconds from tag a to tag b: the whole-second difference converted first, then the
// sub-second difference times 1.52e-05 added, in this order. Exact to the last bits of the
// sub-second product, unlike a difference of two Julian dates (a grain of about 40 us).
inline double secondsBetween(const TimeTag& a, const TimeTag& b) {
    return static_cast<double>(b.seconds - a.seconds) +
           static_cast<double>(static_cast<std::int32_t>(b.subsecondCount) -
                               static_cast<std::int32_t>(a.subsecondCount)) *
               kSubsecondUnit;
}

}  // namespace kova
