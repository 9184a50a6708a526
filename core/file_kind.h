#pragma once
// Kind words of kova's named files, as they appear in open and write failure messages
// ("File Open failed for packet file: ...").
#include <string_view>

namespace kova::file_kind {

inline constexpr std::string_view kConfiguration = "configuration";
inline constexpr std::string_view kPacket = "packet";
inline constexpr std::string_view kNorad = "norad";
inline constexpr std::string_view kEphemeris = "ephemeris";
inline constexpr std::string_view kAttitude = "attitude";

}  // namespace kova::file_kind
