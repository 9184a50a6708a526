#include "orbit/orbit_pass.h"

#include <ostream>

#include "orbit/orbit_model.h"

namespace kova {

void revolutionRecords(const SatPass& pass, const TleRecord& tle, bool reportRevolutions,
                       std::ostream& report, const OrbitMetadataSink& writeMetadata) {
    OrbitModel model(tle);
    for (std::size_t i = 0; i < pass.size(); ++i) {
        model.apply(pass[i], i);
        if (reportRevolutions) {
            report << "\ndiag_2 SatPass[" << i << "]\n";
            model.report(report);
        }
        writeMetadata(model.revAtCur(), model.ascNode(), model.descNode(),
                      model.descNodeLongitude());
    }
}

std::pair<std::int32_t, std::int32_t> passOrbitNumbers(const SatPass& pass, const TleRecord& tle) {
    if (pass.empty()) return {0, 0};
    OrbitModel model(tle);
    model.apply(pass.front(), 0);
    const std::int32_t begin = model.revAtCur();
    model.apply(pass.back(), pass.size() - 1);
    return {begin, model.revAtLast()};
}

KeplerElements passElements(const SatPass& pass, const TleRecord& tle) {
    OrbitModel model(tle);
    if (!pass.empty()) model.apply(pass.front(), 0);
    return model.headerElements();
}

}  // namespace kova
