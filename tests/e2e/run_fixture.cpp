#include "tests/e2e/run_fixture.h"

#include <fstream>
#include <sstream>

#include "core/big_endian.h"
#include "generator/element_set.h"
#include "run/processing_run.h"
#include "tests/support/packet_file_builder.h"

namespace kova::test {

RunOutput runKovaInProcess(const std::vector<std::string>& words) {
    std::vector<const char*> argv{"kova"};
    for (const std::string& word : words) argv.push_back(word.c_str());
    std::ostringstream out;
    std::ostringstream err;
    RunOutput result;
    result.status = runKova(static_cast<int>(argv.size()), argv.data(), out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

void writePassAndNorad(const TemporaryDirectory& dir, const generator::PassSettings& settings) {
    writeGeneratedPass(dir.file("pass.kov"), settings);
    std::ofstream norad(dir.file("norad.tle"));
    generator::writeNoradFile(norad, settings.elementSet);
}

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return be::loadU32(bytes.data() + offset);
}

double f64At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return be::loadF64(bytes.data() + offset);
}

}  // namespace kova::test
