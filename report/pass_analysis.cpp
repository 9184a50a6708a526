#include "report/pass_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include "core/background_worker.h"
#include "core/constants.h"
#include "core/file_identity.h"
#include "orbit/kepler_from_state.h"
#include "orbit/orbit_model.h"
#include "orbit/orbit_pass.h"
#include "orbit/tle_record.h"
#include "packets/nav_record.h"
#include "packets/packet_file.h"
#include "packets/packet_layout.h"
#include "pass/pass_input.h"
#include "report/number_text.h"
#include "report/record_survey.h"
#include "time/sidereal_angle.h"
#include "time/time_scales.h"
#include "time/ut_correction.h"
#include "toolkit/record_batch.h"
#include "toolkit/record_stream.h"

namespace kova::report {
namespace {

constexpr double kTurnDegrees = 360.0;

AnalysisOutcome stopped(std::string problem) { return AnalysisOutcome{false, std::move(problem)}; }

// Why the walk refused the file, from the census of the same bytes.
std::string refusedWalk(const std::string& name, const PacketCensus& census) {
    if (census.end() == CensusEnd::kInvalidHeader) {
        return name + ": invalid packet header at offset " + unsignedText(census.endOffset()) + " (version " +
               std::to_string(census.invalidVersion()) + ", length field " +
               std::to_string(census.invalidLengthField()) +
               "); kova refuses the whole file";
    }
    return name + ": the packet file cannot be read; kova refuses the whole file";
}

// Why a navigation packet could not be read whole: its length, or the end of the file.
std::string unreadablePacket(const AnalysisSettings& settings, const PacketCensus& census, const PacketFile& packets,
                             std::int32_t index, const Packet& held, std::uint32_t packetSize,
                             const char* whereKovaStops) {
    const std::uint64_t offset = index >= 0 && index < packets.indexCount() ? packets.offsetOf(index) : 0;
    std::string text = settings.packetFileName + ": navigation packet " + std::to_string(index) + " at offset " +
                       unsignedText(offset);
    if (packets.shrankSinceIndexing()) {
        text += " was whole when the file was indexed and is cut short now (the file shrank while it was read)";
    } else if (census.end() == CensusEnd::kTruncatedPacket && census.endOffset() == offset) {
        text += " runs " + unsignedText(census.missingBytes()) + " bytes past the end of the file";
    } else {
        const int length = held.packetSize() + static_cast<int>(primary_header::kSize);
        text += " is " + std::to_string(length) + " bytes long, not " + std::to_string(packetSize);
        const ApidCensus* navigation = census.find(kNavApid);
        if (navigation != nullptr && navigation->wrongLength > 0) {
            text += " (" + unsignedText(navigation->wrongLength) + " navigation packets of another length, the first at offset " +
                    unsignedText(navigation->firstWrongLengthOffset) + ")";
        }
        // The other size of navigation packet is a satellite name away.
        if (packetSize == kNavPacketSize && static_cast<std::uint32_t>(length) == kWideNavPacketSize) {
            text += "; 214-byte packets need --satellite SELA";
        } else if (packetSize == kWideNavPacketSize && static_cast<std::uint32_t>(length) == kNavPacketSize) {
            text += "; SELA selects 214-byte packets, 126-byte ones need another --satellite name";
        }
    }
    return text + "; kova stops " + whereKovaStops;
}

struct CensusJob {
    std::string fileName;
    ExpectedPacketLength expected;
    PacketCensus census;
};

void takeCensus(void* context) {
    CensusJob& job = *static_cast<CensusJob*>(context);
    job.census = PacketCensus(job.fileName, job.expected);
}

double degrees(double radians) { return radians * kDegreesPerRadian; }

double longitudeInTurn(double degreesValue) {
    double reduced = std::fmod(degreesValue, kTurnDegrees);
    if (reduced < 0.0) reduced += kTurnDegrees;
    return reduced;
}

}  // namespace

AnalysisOutcome analysePass(const AnalysisSettings& settings, PassReport& report) {
    const std::string& name = settings.packetFileName;
    const std::uint32_t packetSize = navPacketSizeFor(settings.satelliteName);
    report.packetFileName = name;
    report.satelliteName = settings.satelliteName;

    // The file is walked twice (every APID, then kova's index), so it must be a regular file.
    PassInputSettings passSettings;
    passSettings.packetFileName = name;
    passSettings.noradFileName = settings.noradFileName;
    passSettings.satelliteName = settings.satelliteName;
    passSettings.packetReadSize = packetSize;
    // The census walks the file on a second thread while the pass input indexes it: two walks
    // over the same bytes at once. Only a regular file is walked ahead (a walk of a pipe would
    // take the bytes it reads and could wait for a writer); any other name is refused below.
    CensusJob censusJob;
    censusJob.fileName = name;
    censusJob.expected = ExpectedPacketLength{kNavApid, packetSize};
    std::optional<BackgroundWorker> censusWorker;
    if (namesRegularFile(name)) {
        censusWorker.emplace();
        censusWorker->start(takeCensus, &censusJob);
    }
    PassInput input(passSettings);
    const std::optional<PassRefusal> refusal = input.refusal();
    if (refusal == PassRefusal::kNoPacketFileName) return stopped("no packet file named");
    if (refusal == PassRefusal::kPacketFileIsDirectory) return stopped(name + ": a directory, not a packet file");
    if (refusal == PassRefusal::kPacketFileNotRegular) {
        return stopped(name + ": not a regular file (the packet file is read twice)");
    }
    if (refusal == PassRefusal::kPacketFileNotOpenable) return stopped(name + ": cannot open the packet file");

    if (censusWorker) {
        censusWorker->waitAndRethrow();  // as if the census were taken here
        report.census = std::move(censusJob.census);
    } else {
        report.census = PacketCensus(name, censusJob.expected);
    }
    PacketFile& packets = input.packetFile();
    if (refusal == PassRefusal::kPacketFileNotIndexable || report.census.end() == CensusEnd::kInvalidHeader ||
        report.census.end() == CensusEnd::kReadError) {
        return stopped(refusedWalk(name, report.census));
    }

    const TleRecord& tle = input.elementSet();
    ElementSetFacts& elementSet = report.orbit.elementSet;
    if (!settings.noradFileName.empty()) {
        elementSet.read = true;
        elementSet.fileName = settings.noradFileName;
        elementSet.searchKey = input.elementSetSearchKey();
    }
    if (refusal == PassRefusal::kNoradFileNotOpenable) {
        return stopped(settings.noradFileName + ": cannot open the norad file; kova stops before the packets");
    }
    if (refusal == PassRefusal::kElementSetNotFound) {
        return stopped(settings.noradFileName + ": no complete element set under the name \"" + elementSet.searchKey +
                       "\"; kova stops before the packets");
    }
    if (const auto& text = input.elementSetText()) {
        elementSet.nameLine = text->nameLine;
        elementSet.line1 = text->line1;
        elementSet.line2 = text->line2;
        elementSet.line1ChecksumGood = text->linesRead.line1ChecksumMatches;
        elementSet.line2ChecksumGood = text->linesRead.line2ChecksumMatches;
        for (const std::string_view problem : text->problems) elementSet.problems.emplace_back(problem);
    }

    // kova's checks of the first and last navigation packet.
    const NavRecord& first = input.firstPacket();
    const NavRecord& last = input.lastPacket();
    const std::int32_t lastIndex = input.lastPacketIndex();
    if (refusal == PassRefusal::kFewerThanTwoNavigationPackets) {
        return stopped(name + (packets.indexCount() == 0 ? ": no navigation packet (APID 957)"
                                                         : ": only one navigation packet (APID 957)") +
                       "; kova makes no pass of it");
    }
    if (refusal == PassRefusal::kEndPacketUnreadable) {
        const bool firstUnreadable = input.firstPacketUnreadable();
        return stopped(unreadablePacket(settings, report.census, packets, firstUnreadable ? 0 : lastIndex,
                                        firstUnreadable ? first : last, packetSize, "before its record pass"));
    }

    const OrbitModel model(tle);
    const double utOffset = elementSet.read ? model.utOffset() : utCorrection(first.julianDate());
    NavigationFacts& navigation = report.navigation;
    const double span = tai93FromJulianDate(last.julianDate()) - tai93FromJulianDate(first.julianDate());

    SurveySettings surveySettings;
    surveySettings.firstJulianDate = first.julianDate();
    surveySettings.lastJulianDate = last.julianDate();
    const double wholeSeconds = std::isfinite(span) && span > 0.0 ? std::floor(span) + 1.0 : 1.0;
    surveySettings.columns = static_cast<std::size_t>(std::min(static_cast<double>(settings.chartColumns), wholeSeconds));
    surveySettings.trackSampleSeconds =
        std::max(1.0, std::isfinite(span) ? span / static_cast<double>(settings.trackPoints) : 1.0);
    surveySettings.utOffset = utOffset;
    RecordSurvey survey(surveySettings);

    NavRecordStream stream(packets, packetSize);
    RecordBatch batch;
    bool streamGoesOn = true;
    while (streamGoesOn) {
        streamGoesOn = batch.refillFrom(stream);
        for (std::size_t n = 0; n < batch.size(); ++n) {
            survey.add(batch.julianDate(n), batch.tag(n), batch.values(n), batch.qaFlags(n), batch.attitudeAngles(n));
        }
    }
    survey.finish();
    if (!packets.eof()) {
        return stopped(unreadablePacket(settings, report.census, packets, packets.currentIndex(),
                                        stream.scratchRecord(), packetSize, "in its record pass"));
    }

    // The navigation stream.
    navigation = std::move(survey.navigation());
    navigation.packetSize = packetSize;
    navigation.packets = static_cast<std::uint64_t>(packets.indexCount());
    const ApidCensus* navigationCensus = report.census.find(kNavApid);
    navigation.wrongLength = navigationCensus != nullptr ? navigationCensus->wrongLength : 0;
    navigation.firstTime = tai93FromJulianDate(first.julianDate());
    navigation.lastTime = tai93FromJulianDate(last.julianDate());
    for (std::vector<StepFacts>* listed : {&navigation.firstDuplicates, &navigation.firstBackwardSteps}) {
        for (StepFacts& step : *listed) step.offset = packets.offsetOf(static_cast<std::int32_t>(step.packetIndex));
    }
    report.attitude = survey.attitude();
    report.charts = std::move(survey.charts());

    // The orbit: what kova writes per revolution, from the same element set and revolutions.
    const SatPass& pass = stream.satPass();
    if (survey.crossings().size() != pass.size()) {
        return stopped(name + ": internal fault: " + unsignedText(pass.size()) + " revolutions cut by kova, " +
                       unsignedText(survey.crossings().size()) + " by the report");
    }
    OrbitFacts& orbit = report.orbit;
    orbit.modelUsable = model.usable();
    std::ostream noDiagnostics(nullptr);
    revolutionRecords(pass, tle, false, noDiagnostics,
                      [&](std::int32_t orbitNumber, double ascendingNode, double descendingNode, double longitude) {
                          RevolutionFacts revolution;
                          revolution.orbitNumber = orbitNumber;
                          revolution.ascendingNode = tai93FromJulianDate(ascendingNode);
                          revolution.descendingNode = tai93FromJulianDate(descendingNode);
                          revolution.descendingNodeLongitude = degrees(longitude);
                          revolution.nodesSet = ascendingNode != 0.0;
                          orbit.revolutions.push_back(revolution);
                      });
    const auto [beginOrbit, endOrbit] = passOrbitNumbers(pass, tle);
    orbit.beginOrbit = beginOrbit;
    orbit.endOrbit = endOrbit;
    const KeplerElements header = passElements(pass, tle);
    orbit.headerElements = {header[0], header[1], degrees(header[2]), degrees(header[3]), degrees(header[4]),
                            degrees(header[5])};

    for (std::size_t i = 0; i < orbit.revolutions.size(); ++i) {
        RevolutionFacts& revolution = orbit.revolutions[i];
        const RevEntry& entry = pass[i];
        revolution.firstTime = tai93FromJulianDate(entry.record.julianDate());
        revolution.lastTime = tai93FromJulianDate(entry.lastTime);
        const RevolutionCrossings& crossings = survey.crossings()[i];
        revolution.ascending.time = crossings.ascending.time;
        revolution.descending.time = crossings.descending.time;
        if (!std::isnan(crossings.descending.time)) {
            const double siderealAngle = gast(julianDateFromTai93(crossings.descending.time) - utOffset);
            revolution.descending.longitude =
                longitudeInTurn(degrees(std::atan2(crossings.descending.y, crossings.descending.x) - siderealAngle));
        }
        const KeplerElements elements = keplerFromState(entry.record.position(), entry.record.velocity());
        revolution.perigeeHeight = elements[0] * (1.0 - elements[1]) - kEquatorialRadius;
        revolution.apogeeHeight = elements[0] * (1.0 + elements[1]) - kEquatorialRadius;
        if (std::isfinite(revolution.perigeeHeight) &&
            (std::isnan(orbit.lowestPerigee) || revolution.perigeeHeight < orbit.lowestPerigee)) {
            orbit.lowestPerigee = revolution.perigeeHeight;
            orbit.lowestPerigeeRevolution = i;
        }
        if (std::isfinite(revolution.apogeeHeight) &&
            (std::isnan(orbit.highestApogee) || revolution.apogeeHeight > orbit.highestApogee)) {
            orbit.highestApogee = revolution.apogeeHeight;
            orbit.highestApogeeRevolution = i;
        }
    }

    if (elementSet.read) {
        elementSet.epoch = tai93FromJulianDate(model.epoch());
        elementSet.epochUtSeconds1958 = (model.epoch() - model.utOffset() - kTai58EpochJd) * kSecondsPerDay;
        elementSet.ageAtStart = navigation.firstTime - elementSet.epoch;
    }
    return AnalysisOutcome{true, std::string()};
}

}  // namespace kova::report
