#pragma once
// Runs kova in-process on files in a temporary directory and reads back what it wrote.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "generator/pass_generator.h"
#include "tests/support/in_process_run.h"
#include "tests/support/temporary_directory.h"

namespace kova::test {

// kova with the given keyword/value words (the program name is added).
RunOutput runKovaInProcess(const std::vector<std::string>& words);

// A generated pass and its norad file in `dir`: pass.kov and norad.tle.
void writePassAndNorad(const TemporaryDirectory& dir, const generator::PassSettings& settings);

// Big-endian field readers over a file's bytes.
std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t offset);
double f64At(const std::vector<std::uint8_t>& bytes, std::size_t offset);

}  // namespace kova::test
