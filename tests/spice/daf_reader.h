#pragma once
// A reader of the DAF files kova writes, made from the published layouts alone, so that the
// tests check the writer against the layout and not against itself: the file record, the
// comment area, the summaries (walked FWARD -> NEXT), the names and the arrays' words. It also
// evaluates the two array types (SPK type 13 Hermite interpolation, CK type 3 linear rotation)
// and maps ET and clock ticks back to time tags.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "time/time_tag.h"

namespace kova::test {

struct DafArrayEntry {
    std::array<double, 2> doubles{};
    std::array<std::int32_t, 6> integers{};  // the last two: initial and final word address
    std::string name;                         // 40 characters, blanks kept
    std::int32_t summaryRecord = 0;
};

class DafReader {
public:
    // Parses a whole file. False, with the reason in error(), when the layout is broken.
    bool parse(std::string bytes);
    const std::string& error() const { return error_; }

    std::string idWord;        // 8 characters
    std::string internalName;  // 60 characters
    std::string format;        // 8 characters
    std::int32_t doubleCount = 0, integerCount = 0;
    std::int32_t forward = 0, backward = 0, freeAddress = 0;
    bool ftpIntact = false;
    std::int32_t commentRecords = 0;   // records 2 ... forward - 1
    std::vector<std::string> comments; // the comment lines
    std::vector<DafArrayEntry> arrays; // in NEXT-chain order
    std::size_t fileBytes() const { return bytes_.size(); }
    std::uint8_t byte(std::size_t offset) const { return static_cast<std::uint8_t>(bytes_[offset]); }

    // Word at 1-based address; NaN outside the file.
    double word(std::int64_t address) const;
    // The words of an array, initial to final address.
    std::vector<double> arrayWords(const DafArrayEntry& array) const;

private:
    std::string bytes_;
    std::string error_;
};

// SPK type 13 at `et`: x, y, z (km), vx, vy, vz (km/s) from the Hermite polynomial through the
// window of states around `et` (window size from the array). Empty outside the array's epochs.
std::optional<std::array<double, 6>> spkType13State(const std::vector<double>& array, double et);

// CK type 3 without angular velocity at `ticks`: the quaternion (scalar first); at an instance's
// own time that instance, between two instances of one interval the constant-rate rotation
// between them. Empty outside every interval.
std::optional<std::array<double, 4>> ckType3Quaternion(const std::vector<double>& array, double ticks);

// The C-matrix (v_body = C v_J2000) of a quaternion, scalar first.
std::array<std::array<double, 3>, 3> cMatrixOfQuaternion(const std::array<double, 4>& q);

// The tag whose ET is `et` (inverting TDT -> TDB by iteration, then TAI to seconds and the
// nearest sub-second count), and the tag of clock ticks.
TimeTag tagFromEphemerisTime(double et);
TimeTag tagFromTicks(double ticks);

}  // namespace kova::test
