#include "tests/e2e/run_fixture.h"

#include <fstream>

#include "core/big_endian.h"
#include "generator/element_set.h"
#include "run/processing_run.h"
#include "tests/support/packet_file_builder.h"

namespace kova::test {

RunOutput runKovaInProcess(const std::vector<std::string>& words) { return runInProcess(&runKova, "kova", words); }

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
