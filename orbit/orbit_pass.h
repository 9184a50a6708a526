#pragma once
// The products of a whole pass built on the orbit model: one metadata record per
// revolution, the orbit numbers at the start and end of the pass, and the Keplerian
// elements of the ephemeris header. Each builds its own model from the element set.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <utility>

#include "orbit/kepler_elements.h"
#include "orbit/sat_pass.h"
#include "orbit/tle_record.h"

namespace kova {

// Receives one orbit metadata record: orbit number, node times (Julian dates) and the
// descending-node longitude (rad).
using OrbitMetadataSink = std::function<void(std::int32_t orbitNumber, double ascNodeJd,
                                             double descNodeJd, double descNodeLongitude)>;

// One metadata record per revolution of the pass, in order. With `reportRevolutions` each
// revolution's diagnostic block ("\ndiag_2 SatPass[i]\n" and OrbitModel::report) is
// written to `report` first.
void revolutionRecords(const SatPass& pass, const TleRecord& tle, bool reportRevolutions,
                       std::ostream& report, const OrbitMetadataSink& writeMetadata);

// Orbit numbers at the first record and at the last record of the pass.
std::pair<std::int32_t, std::int32_t> passOrbitNumbers(const SatPass& pass, const TleRecord& tle);

// Keplerian elements for the ephemeris header, from the first revolution of the pass.
KeplerElements passElements(const SatPass& pass, const TleRecord& tle);

}  // namespace kova
