#pragma once
// The frame kernel that names the spacecraft and ties its bus frame to the CK: the body name
// and code (appended with += so that other missions' names stay), the frame (class 3, CK-based,
// oriented by the CK ID's segments), the CK's clock and spacecraft, and the body's own frame.
#include <cstdint>
#include <string>
#include <string_view>

namespace kova {

// The whole kernel: "KPL/FK", `comments` (lines each ending in '\n'), the data. `bodyName` and
// `frameName` as normalisedBodyName and busFrameName give them.
std::string frameKernelText(std::int32_t spacecraftId, std::string_view bodyName, std::string_view frameName,
                            std::string_view comments);

}  // namespace kova
