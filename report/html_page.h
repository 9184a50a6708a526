#pragma once
// The quick-look page: one self-contained HTML file (inline style and SVG, no script, nothing
// fetched) that opens with the summary figures, shows five charts (ground track, height,
// attitude angles, gap timeline, model minus measured node times) and then the same tables
// as the text report. Printable: an inline print style keeps charts whole on a page.
#include <string>

#include "report/pass_report.h"

namespace kova::report {

// Rows of the gap and revolution tables on the page; the text and JSON reports list them all.
inline constexpr std::size_t kPageTableRows = 500;

std::string htmlPage(const PassReport& report);

}  // namespace kova::report
