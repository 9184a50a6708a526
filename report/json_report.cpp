#include "report/json_report.h"

#include <cmath>
#include <string_view>

#include "packets/packet_layout.h"
#include "report/json_writer.h"
#include "report/number_text.h"
#include "report/walk_end_text.h"

namespace kova::report {
namespace {

// Decimals of each kind of number: microseconds, millimetres, micro-degrees.
constexpr int kSecondsDecimals = 6;
constexpr int kMetresDecimals = 3;
constexpr int kDegreesDecimals = 6;
constexpr int kRatioDecimals = 6;
constexpr int kDepartureDigits = 3;

class ReportJson {
public:
    explicit ReportJson(const PassReport& report) : report_(report) {}
    std::string write();

private:
    void time(std::string_view name, double tai93);
    void seconds(std::string_view name, double value) {
        json_.key(name);
        json_.fixed(value, kSecondsDecimals);
    }
    void metres(std::string_view name, double value) {
        json_.key(name);
        json_.fixed(value, kMetresDecimals);
    }
    void degrees(std::string_view name, double value) {
        json_.key(name);
        json_.fixed(value, kDegreesDecimals);
    }
    void count(std::string_view name, std::uint64_t value) {
        json_.key(name);
        json_.unsignedInteger(value);
    }
    void text(std::string_view name, std::string_view value) {
        json_.key(name);
        json_.string(value);
    }
    void file();
    void navigation();
    void steps(std::string_view name, const std::vector<StepFacts>& steps);
    void attitude();
    void orbit();
    void elementSet();
    void revolution(std::size_t index, const RevolutionFacts& revolution);

    const PassReport& report_;
    JsonWriter json_;
    std::string scratch_;  // calendar text of one time, reused: a report may hold a million times
};

void ReportJson::time(std::string_view name, double tai93) {
    json_.key(name);
    if (!std::isfinite(tai93)) {
        json_.null();
        return;
    }
    json_.beginObject();
    seconds("tai93", tai93);
    scratch_.clear();
    json_.key("iso");
    if (appendTai93Iso(scratch_, tai93)) {
        json_.string(scratch_);
    } else {
        json_.null();
    }
    json_.endObject();
}

std::string ReportJson::write() {
    json_.beginObject();
    text("format", "kovareport");
    json_.key("layout_version");
    json_.integer(kJsonLayoutVersion);
    text("program_version", report_.programVersion);
    text("packet_file", report_.packetFileName);
    text("satellite", report_.satelliteName);
    file();
    navigation();
    attitude();
    orbit();
    json_.endObject();
    return json_.text();
}

void ReportJson::file() {
    const PacketCensus& census = report_.census;
    json_.key("file");
    json_.beginObject();
    count("size_bytes", census.fileSize());
    count("packets", census.packetCount());
    json_.key("apids");
    json_.beginArray();
    for (const ApidCensus& apid : census.apids()) {
        json_.beginObject();
        count("apid", static_cast<std::uint64_t>(apid.apid));
        count("packets", apid.packets);
        count("bytes", apid.bytes);
        count("shortest_bytes", apid.shortestPacket);
        count("longest_bytes", apid.longestPacket);
        count("sequence_breaks", apid.sequenceBreaks);
        json_.key("first_sequence_breaks");
        json_.beginArray();
        for (const SequenceBreak& gap : apid.firstBreaks) {
            json_.beginObject();
            count("offset_bytes", gap.offset);
            count("expected", static_cast<std::uint64_t>(gap.expected));
            count("found", static_cast<std::uint64_t>(gap.found));
            json_.endObject();
        }
        json_.endArray();
        json_.endObject();
    }
    json_.endArray();
    json_.key("walk_end");
    json_.beginObject();
    text("reason", walkEndName(census.end()));
    count("offset_bytes", census.endOffset());
    if (census.end() == CensusEnd::kTruncatedPacket) count("missing_bytes", census.missingBytes());
    if (census.end() == CensusEnd::kPartialHeader) count("partial_header_bytes", census.partialHeaderBytes());
    json_.endObject();
    json_.endObject();
}

void ReportJson::steps(std::string_view name, const std::vector<StepFacts>& steps) {
    json_.key(name);
    json_.beginArray();
    for (const StepFacts& step : steps) {
        json_.beginObject();
        time("time", step.time);
        seconds("step_s", step.step);
        count("packet_index", step.packetIndex);
        count("offset_bytes", step.offset);
        json_.endObject();
    }
    json_.endArray();
}

void ReportJson::navigation() {
    const NavigationFacts& navigation = report_.navigation;
    json_.key("navigation");
    json_.beginObject();
    count("apid", static_cast<std::uint64_t>(kNavApid));
    count("packet_bytes", navigation.packetSize);
    count("packets", navigation.packets);
    count("wrong_length", navigation.wrongLength);
    time("first_time", navigation.firstTime);
    time("last_time", navigation.lastTime);
    seconds("span_s", navigation.span);
    count("records", navigation.records);
    count("real_records", navigation.realRecords);
    count("fill_records", navigation.fillRecords);
    json_.key("coverage");
    json_.fixed(navigation.coverage, kRatioDecimals);
    count("gap_count", navigation.gaps.size());
    count("filled_gaps", navigation.filledGaps);
    count("flagged_gaps", navigation.flaggedGaps);
    json_.key("gaps");
    json_.beginArray();
    for (const GapFacts& gap : navigation.gaps) {
        json_.beginObject();
        time("start", gap.start);
        time("end", gap.end);
        seconds("length_s", gap.end - gap.start);
        text("class", gap.filled ? "filled" : "flagged");
        count("fill_records", gap.fillRecords);
        json_.endObject();
    }
    json_.endArray();
    count("duplicates", navigation.duplicates);
    steps("first_duplicates", navigation.firstDuplicates);
    count("backward_steps", navigation.backwardSteps);
    steps("first_backward_steps", navigation.firstBackwardSteps);
    json_.endObject();
}

void ReportJson::attitude() {
    const AttitudeFacts& attitude = report_.attitude;
    json_.key("attitude");
    json_.beginObject();
    count("non_finite_angle_records", attitude.nonFiniteAngles);
    json_.key("largest_quaternion_norm_departure");
    json_.beginObject();
    json_.key("real");
    json_.scientific(attitude.largestNormDepartureReal, kDepartureDigits);
    json_.key("filled");
    json_.scientific(attitude.largestNormDepartureFilled, kDepartureDigits);
    json_.endObject();
    json_.endObject();
}

void ReportJson::elementSet() {
    const ElementSetFacts& set = report_.orbit.elementSet;
    json_.key("element_set");
    if (!set.read) {
        json_.null();
        return;
    }
    json_.beginObject();
    text("norad_file", set.fileName);
    text("search_name", set.searchKey);
    text("name_line", set.nameLine);
    text("line1", set.line1);
    text("line2", set.line2);
    time("epoch", set.epoch);
    std::string utEpoch;
    json_.key("epoch_ut");
    if (appendUtIsoFromSeconds1958(utEpoch, set.epochUtSeconds1958)) {
        json_.string(utEpoch);
    } else {
        json_.null();
    }
    seconds("age_at_start_s", set.ageAtStart);
    text("line1_checksum", set.line1ChecksumGood ? "good" : "wrong");
    text("line2_checksum", set.line2ChecksumGood ? "good" : "wrong");
    json_.key("problems");
    json_.beginArray();
    for (const std::string& problem : set.problems) json_.string(problem);
    json_.endArray();
    json_.endObject();
}

void ReportJson::orbit() {
    const OrbitFacts& orbit = report_.orbit;
    json_.key("orbit");
    json_.beginObject();
    elementSet();
    json_.key("model_usable");
    json_.boolean(orbit.modelUsable);
    json_.key("begin_orbit");
    json_.integer(orbit.beginOrbit);
    json_.key("end_orbit");
    json_.integer(orbit.endOrbit);
    json_.key("header_elements");
    json_.beginObject();
    metres("semi_major_axis_m", orbit.headerElements[0]);
    json_.key("eccentricity");
    json_.fixed(orbit.headerElements[1], 9);
    degrees("inclination_deg", orbit.headerElements[2]);
    degrees("right_ascension_deg", orbit.headerElements[3]);
    degrees("argument_of_perigee_deg", orbit.headerElements[4]);
    degrees("mean_anomaly_deg", orbit.headerElements[5]);
    json_.endObject();
    metres("equatorial_radius_m", kEquatorialRadius);
    metres("lowest_perigee_height_m", orbit.lowestPerigee);
    count("lowest_perigee_revolution", orbit.lowestPerigeeRevolution);
    metres("highest_apogee_height_m", orbit.highestApogee);
    count("highest_apogee_revolution", orbit.highestApogeeRevolution);
    count("revolution_count", orbit.revolutions.size());
    json_.key("revolutions");
    json_.beginArray();
    for (std::size_t i = 0; i < orbit.revolutions.size(); ++i) revolution(i, orbit.revolutions[i]);
    json_.endArray();
    json_.endObject();
}

void ReportJson::revolution(std::size_t index, const RevolutionFacts& revolution) {
    json_.beginObject();
    count("index", index);
    json_.key("orbit_number");
    json_.integer(revolution.orbitNumber);
    time("first_record", revolution.firstTime);
    time("last_record", revolution.lastTime);
    json_.key("stored");
    json_.beginObject();
    time("ascending_node", revolution.ascendingNode);
    time("descending_node", revolution.descendingNode);
    degrees("descending_node_longitude_deg", revolution.descendingNodeLongitude);
    json_.endObject();
    json_.key("measured");
    json_.beginObject();
    time("ascending_node", revolution.ascending.time);
    time("descending_node", revolution.descending.time);
    degrees("descending_node_longitude_deg", revolution.descending.longitude);
    json_.endObject();
    json_.key("model_minus_measured");
    json_.beginObject();
    seconds("ascending_node_s", nodeTimeDifference(revolution, true));
    seconds("descending_node_s", nodeTimeDifference(revolution, false));
    degrees("descending_node_longitude_deg", longitudeDifference(revolution));
    json_.endObject();
    metres("perigee_height_m", revolution.perigeeHeight);
    metres("apogee_height_m", revolution.apogeeHeight);
    json_.endObject();
}

}  // namespace

std::string jsonReport(const PassReport& report) { return ReportJson(report).write(); }

}  // namespace kova::report
