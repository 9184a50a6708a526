#pragma once
// The report as JSON, in the layout documented in docs/report-json.md: times as objects with
// TAI93 seconds and ISO 8601 text, lengths in metres, angles in degrees, durations in
// seconds; values that do not exist are null.
#include <string>

#include "report/pass_report.h"

namespace kova::report {

// Version of the layout: raised when a member changes its meaning or goes; new members may
// appear without it.
inline constexpr int kJsonLayoutVersion = 1;

std::string jsonReport(const PassReport& report);

}  // namespace kova::report
