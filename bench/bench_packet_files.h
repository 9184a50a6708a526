#pragma once
// Generated packet files for the benchmarks, written once per benchmark program into a
// scratch directory that is removed when the program ends.
#include <cstdint>
#include <filesystem>
#include <string>

#include "generator/pass_generator.h"

namespace kova::bench {

// A one-day pass of one-second navigation packets of `packetSize` bytes with
// `otherPacketsPerNavPacket` packets of other APIDs after each, and a few short gaps.
generator::PassSettings oneDayPass(std::uint32_t packetSize = 126, std::uint32_t otherPacketsPerNavPacket = 0);

// The file of `settings` under `name` in the scratch directory, written on first use.
const std::string& packetFile(const std::string& name, const generator::PassSettings& settings);

}  // namespace kova::bench
