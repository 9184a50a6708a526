#pragma once
// Everything the report says about one pass, gathered once and then written as text, JSON and
// the quick-look page. Times are TAI93 seconds (the time scale of the toolkit files), lengths
// metres, angles degrees; a value that does not exist (a crossing in a gap, a model without
// an element set) is NaN and is written as "none" / null.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "packets/packet_census.h"
#include "report/column_ranges.h"
#include "report/ground_track.h"

namespace kova::report {

inline constexpr double kNotAvailable = std::numeric_limits<double>::quiet_NaN();
// Heights are given above a sphere of the Earth's equatorial radius (WGS 84) [m].
inline constexpr double kEquatorialRadius = 6378137.0;
// Duplicates and backward steps listed with their times and offsets; the counts go on.
inline constexpr std::size_t kListedSteps = 20;

// A gap between two consecutive real records more than 1.1 s apart.
struct GapFacts {
    double start = 0.0;             // time of the record before the gap
    double end = 0.0;               // time of the record after it
    bool filled = false;            // short (up to 60 s): filled with one-second records
    std::uint32_t fillRecords = 0;  // records kova interpolated into it
};

// A real record whose time tag is equal to (duplicate) or earlier than (backward step) the
// time tag of the real record before it.
struct StepFacts {
    double time = 0.0;                  // of the record
    double step = 0.0;                  // its time minus the previous record's [s]
    std::uint64_t packetIndex = 0;      // among the navigation packets, from 0
    std::uint64_t offset = 0;           // file offset of its packet [bytes]
};

struct NavigationFacts {
    std::uint32_t packetSize = 0;       // bytes of every navigation packet
    std::uint64_t packets = 0;          // navigation packets in the file
    std::uint64_t wrongLength = 0;      // of them, not packetSize bytes long
    double firstTime = 0.0;             // first and last navigation packet's time tags
    double lastTime = 0.0;
    double span = 0.0;                  // latest minus earliest time tag [s], never negative
    std::uint64_t records = 0;          // records kova writes to each toolkit file
    std::uint64_t realRecords = 0;
    std::uint64_t fillRecords = 0;
    // Real records later than every earlier one, over span + 1 s, at most 1: the share of the
    // span the records cover, 1 with a record every second and no gap.
    double coverage = 0.0;
    std::vector<GapFacts> gaps;
    std::uint64_t filledGaps = 0;
    std::uint64_t flaggedGaps = 0;
    std::uint64_t duplicates = 0;
    std::vector<StepFacts> firstDuplicates;
    std::uint64_t backwardSteps = 0;
    std::vector<StepFacts> firstBackwardSteps;
};

struct AttitudeFacts {
    std::uint64_t nonFiniteAngles = 0;         // records whose three angles are not all finite
    double largestNormDepartureReal = 0.0;     // max | |q| - 1 | over real records
    double largestNormDepartureFilled = 0.0;   // and over fill records (NaN when none)
};

struct ElementSetFacts {
    bool read = false;                  // a norad file was given
    std::string fileName;
    std::string searchKey;              // the name searched for
    std::string nameLine;               // the line that holds it
    std::string line1;
    std::string line2;
    double epoch = kNotAvailable;       // on the record time scale
    double epochUtSeconds1958 = kNotAvailable;  // UT epoch as written in the set
    double ageAtStart = kNotAvailable;  // first time tag - epoch [s]
    bool line1ChecksumGood = false;
    bool line2ChecksumGood = false;
    std::vector<std::string> problems;  // empty for a sound set
};

// A crossing of the equatorial plane found in the data.
struct MeasuredCrossing {
    double time = kNotAvailable;        // NaN: it fell in a gap or outside the data
    double longitude = kNotAvailable;   // geographic, [0, 360) deg (descending crossings)
};

struct RevolutionFacts {
    // What kova writes into the revolution's orbit metadata record.
    std::int32_t orbitNumber = 0;
    double ascendingNode = 0.0;         // model time, as stored
    double descendingNode = 0.0;
    double descendingNodeLongitude = 0.0;  // as stored, in degrees (not reduced)
    bool nodesSet = false;              // false: the model had no element set (stored as date 0)
    // The revolution as kova cut it.
    double firstTime = 0.0;
    double lastTime = 0.0;
    MeasuredCrossing ascending;
    MeasuredCrossing descending;
    // Osculating elements of the state that opens the revolution.
    double perigeeHeight = kNotAvailable;  // a (1 - e) - kEquatorialRadius [m]
    double apogeeHeight = kNotAvailable;   // a (1 + e) - kEquatorialRadius [m]
};

struct OrbitFacts {
    ElementSetFacts elementSet;
    bool modelUsable = false;
    std::int32_t beginOrbit = 0;        // of the ephemeris header
    std::int32_t endOrbit = 0;
    std::array<double, 6> headerElements{};  // a [m], e, i, RAAN, omega, M [deg]
    std::vector<RevolutionFacts> revolutions;
    double lowestPerigee = kNotAvailable;
    std::size_t lowestPerigeeRevolution = 0;
    double highestApogee = kNotAvailable;
    std::size_t highestApogeeRevolution = 0;
};

// What the charts of the page draw, reduced to the page's resolution.
struct ChartFacts {
    // Columns over [firstTime, lastTime]; series: height [m], then the three attitude angles [deg].
    ColumnRanges timeSeries;
    GroundTrack groundTrack;
};

namespace chart_series {
inline constexpr std::size_t kHeight = 0;
inline constexpr std::size_t kFirstAngle = 1;
inline constexpr std::size_t kCount = 4;
}  // namespace chart_series

// Model minus measured time of a revolution's ascending or descending node [s]; NaN when
// either is missing.
inline double nodeTimeDifference(const RevolutionFacts& revolution, bool ascending) {
    if (!revolution.nodesSet) return kNotAvailable;
    return ascending ? revolution.ascendingNode - revolution.ascending.time
                     : revolution.descendingNode - revolution.descending.time;
}

// Model minus measured longitude of the descending node, in [-180, 180) deg; NaN when either
// is missing.
inline double longitudeDifference(const RevolutionFacts& revolution) {
    if (!revolution.nodesSet) return kNotAvailable;
    double difference = std::fmod(revolution.descendingNodeLongitude - revolution.descending.longitude + 180.0, 360.0);
    if (difference < 0.0) difference += 360.0;
    return difference - 180.0;
}

struct PassReport {
    std::string programVersion;
    std::string packetFileName;
    std::string satelliteName;
    PacketCensus census;
    NavigationFacts navigation;
    AttitudeFacts attitude;
    OrbitFacts orbit;
    ChartFacts charts;
};

}  // namespace kova::report
