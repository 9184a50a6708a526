#pragma once
// One record as the export sees it: the values kova writes into its toolkit files for one
// second (TAI93 time, position, velocity, flag word) and, from the packets, the attitude
// quaternion of the same record.
#include <array>
#include <cstdint>
#include <string>

#include "time/time_tag.h"

namespace kova {

struct ExportRecord {
    double tai93Seconds = 0.0;          // the time kova stores: tai93FromJulianDate of the record
    TimeTag tag;                        // the record's exact time tag; zero from an ephemeris file
    std::array<double, 3> position{};   // m
    std::array<double, 3> velocity{};   // m/s
    std::array<double, 4> quaternion{}; // q1, q2, q3, q4 (scalar last); zero from an ephemeris file
    std::uint16_t qaFlags = 0;          // rep, lgb, sgb, sgf, lgf as in the toolkit files
};

// The records of one input, in the order kova writes them.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    // The next record into `record`; false at the end of the records or on a failure, which
    // error() then names.
    virtual bool next(ExportRecord& record) = 0;
    // Empty while the records are whole; the reason once reading them failed.
    const std::string& error() const { return error_; }
    // After the last record: starts the records again from the first, where the source can do
    // so without opening its input again. False where it cannot.
    virtual bool rewind() { return false; }

protected:
    std::string error_;
};

}  // namespace kova
