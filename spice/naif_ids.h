#pragma once
// The numbers and names a SPICE user looks the spacecraft up by. The spacecraft ID is the SPK
// target and the clock's ID; the CK ID (1000 times it) is the attitude "instrument" and the
// ID of the spacecraft bus frame. Earth orbiters without a code of their own get one from
// their NORAD catalogue number.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kova {

inline constexpr std::int32_t kEarthNaifId = 399;       // SPK centre
inline constexpr std::int32_t kJ2000FrameId = 1;        // reference frame of both binary kernels
inline constexpr std::int32_t kNoradSpacecraftIdBase = -100000;
inline constexpr std::int32_t kCkIdsPerSpacecraftId = 1000;
// A spacecraft ID from -1 down to this keeps 1000 times it within 32 bits.
inline constexpr std::int32_t kLowestSpacecraftId = -2147483;
inline constexpr std::int32_t kHighestSpacecraftId = -1;

inline constexpr std::size_t kBodyNameMaxLength = 36;
inline constexpr std::size_t kFrameNameStemMaxLength = 22;  // + "_BUS" stays within 26
inline constexpr std::string_view kFrameNameSuffix = "_BUS";
inline constexpr std::string_view kDefaultBodyName = "KALPM1";

// The catalogue number of an element set's line 1: columns 3 to 7, five digits, leading
// blanks read as zeros. Empty when the field is shorter or holds anything else (a letter of
// an extended catalogue number, a blank after a digit).
std::optional<std::int32_t> noradNumberFromElementLine(std::string_view line1);

// -100000 - catalogue number (NORAD 15427 -> -115427).
inline std::int32_t spacecraftIdFromNorad(std::int32_t noradNumber) { return kNoradSpacecraftIdBase - noradNumber; }

// Spacecraft ID * 1000, for an ID in the range above.
inline std::int32_t ckIdFromSpacecraftId(std::int32_t spacecraftId) { return spacecraftId * kCkIdsPerSpacecraftId; }

inline bool spacecraftIdInRange(std::int64_t id) { return id >= kLowestSpacecraftId && id <= kHighestSpacecraftId; }

// The value of --naif-id: an integer from -1 down to -2147483, nothing else (no blanks, no
// fraction). Empty, with a message that says what to give instead, otherwise.
std::optional<std::int32_t> parseNaifId(std::string_view text, std::string& error);

// The body name as kernels carry it: characters outside printable ASCII become '?' (tabs,
// carriage returns and line feeds count as blanks), blanks at either end are dropped, runs of
// blanks become one, and the result is cut to 36 characters. An empty result gives "KALPM1".
std::string normalisedBodyName(std::string_view text);

// The bus frame's name from a body name: upper case, every character outside A-Z and 0-9
// made '_', runs of '_' made one, '_' at either end dropped, cut to 22 characters, "_BUS"
// appended ("ISS (ZARYA)" -> "ISS_ZARYA_BUS"). Nothing left gives "SC<-id>_BUS".
std::string busFrameName(std::string_view bodyName, std::int32_t spacecraftId);

// What the comments say about where the spacecraft ID came from.
std::string spacecraftIdFromNoradSource(std::int32_t noradNumber);
std::string spacecraftIdFromOptionSource();

}  // namespace kova
