#pragma once
// The report as text for the terminal: the same content as the JSON file, in labelled
// sections and tables. Times are TAI calendar text to the millisecond; values that do not
// exist read "none" (a crossing in a gap) or "n/a".
#include <string>

#include "report/pass_report.h"

namespace kova::report {

std::string textReport(const PassReport& report);

}  // namespace kova::report
