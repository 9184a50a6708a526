#pragma once
// The one way a run stops early. kova reports the reason on the error stream first,
// then stops with the status; the run is unwound to its entry point, where the status
// becomes the process exit status. Output writers that are still open are flushed but
// not closed on the way, so their files keep the headers written at open.
#include <stdexcept>

namespace kova {

inline constexpr int kStatusFailure = -1;        // every error stop
inline constexpr int kStatusNoPacketFile = -101;  // missing or unopenable packet file

struct RunStop {
    int status;
};

[[noreturn]] inline void stopRun(int status) { throw RunStop{status}; }

}  // namespace kova
