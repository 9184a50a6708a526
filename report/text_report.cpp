#include "report/text_report.h"

#include <cmath>
#include <string_view>

#include "report/input_text.h"
#include "report/number_text.h"
#include "report/walk_end_text.h"

namespace kova::report {
namespace {

constexpr std::size_t kLabelWidth = 30;
constexpr std::size_t kTimeWidth = 23;  // "YYYY-MM-DDThh:mm:ss.sss"
constexpr std::string_view kNone = "none";
constexpr std::string_view kNotApplicable = "n/a";

class TextWriter {
public:
    std::string& text() { return text_; }

    void heading(std::string_view title) {
        text_.push_back('\n');
        text_.append(title);
        text_.push_back('\n');
    }
    // "  label ....: " then the value is appended by the caller, then end().
    std::string& label(std::string_view name) {
        text_.append("  ");
        text_.append(name);
        pad(name.size() + 2, kLabelWidth + 2);
        return text_;
    }
    void end() { text_.push_back('\n'); }
    void line(std::string_view name, std::string_view value) {
        label(name).append(value);
        end();
    }
    void count(std::string_view name, std::uint64_t value) {
        appendUnsigned(label(name), value);
        end();
    }
    // A value right-aligned in a column of `width`, after at least one blank: a value too
    // wide for its column pushes the rest of the line on but never runs into its neighbour.
    void cell(std::string_view value, std::size_t width) {
        text_.append(value.size() < width ? width - value.size() : 1, ' ');
        text_.append(value);
    }
    void time(double tai93) {
        if (!appendTai93Iso(text_, tai93)) text_.append(kNone);
    }
    // A time left-aligned in a column as wide as a calendar time.
    void timeCell(double tai93) {
        const std::size_t before = text_.size();
        time(tai93);
        const std::size_t used = text_.size() - before;
        if (used < kTimeWidth) text_.append(kTimeWidth - used, ' ');
    }

private:
    void pad(std::size_t used, std::size_t width) {
        if (used < width) text_.append(width - used, ' ');
        text_.append(": ");
    }
    std::string text_;
};

std::string fixedOrNa(double value, int decimals) { return fixedText(value, decimals, kNotApplicable); }
std::string timeText(double tai93) { return tai93IsoText(tai93, kNone); }

void fileSection(TextWriter& out, const PacketCensus& census) {
    out.heading("File");
    out.count("size (bytes)", census.fileSize());
    out.count("packets", census.packetCount());
    std::string& text = out.text();
    text.append("    APID     packets           bytes  shortest   longest  sequence breaks\n");
    for (const ApidCensus& apid : census.apids()) {
        text.append("  ");
        out.cell(unsignedText(static_cast<std::uint64_t>(apid.apid)), 6);
        out.cell(unsignedText(apid.packets), 12);
        out.cell(unsignedText(apid.bytes), 16);
        out.cell(unsignedText(apid.shortestPacket), 10);
        out.cell(unsignedText(apid.longestPacket), 10);
        out.cell(unsignedText(apid.sequenceBreaks), 17);
        text.push_back('\n');
    }
    for (const ApidCensus& apid : census.apids()) {
        for (const SequenceBreak& gap : apid.firstBreaks) {
            text.append("  sequence break, APID ");
            appendUnsigned(text, static_cast<std::uint64_t>(apid.apid));
            text.append(" at offset ");
            appendUnsigned(text, gap.offset);
            text.append(": expected ");
            appendInteger(text, gap.expected);
            text.append(", found ");
            appendInteger(text, gap.found);
            text.push_back('\n');
        }
        if (apid.sequenceBreaks > apid.firstBreaks.size()) {
            text.append("  (APID ");
            appendUnsigned(text, static_cast<std::uint64_t>(apid.apid));
            text.append(": ");
            appendUnsigned(text, apid.sequenceBreaks - apid.firstBreaks.size());
            text.append(" more breaks)\n");
        }
    }
    std::string& walk = out.label("walk stopped");
    switch (census.end()) {
        case CensusEnd::kEndOfFile:
            walk.append("at the end of the file");
            break;
        case CensusEnd::kPartialHeader:
            walk.append("partial header of ");
            appendUnsigned(walk, census.partialHeaderBytes());
            walk.append(" bytes at offset ");
            appendUnsigned(walk, census.endOffset());
            break;
        case CensusEnd::kTruncatedPacket:
            walk.append("truncated last packet at offset ");
            appendUnsigned(walk, census.endOffset());
            walk.append(": ");
            appendUnsigned(walk, census.missingBytes());
            walk.append(" bytes missing");
            break;
        case CensusEnd::kInvalidHeader:
        case CensusEnd::kReadError:
            walk.append(walkEndName(census.end()));
            walk.append(" at offset ");
            appendUnsigned(walk, census.endOffset());
            break;
    }
    out.end();
}

void stepList(TextWriter& out, std::string_view what, std::uint64_t count, const std::vector<StepFacts>& steps) {
    out.count(what, count);
    std::string& text = out.text();
    for (const StepFacts& step : steps) {
        text.append("    ");
        out.time(step.time);
        text.append("  step ");
        appendFixedOr(text, step.step, 3, kNotApplicable);
        text.append(" s  packet ");
        appendUnsigned(text, step.packetIndex);
        text.append(" at offset ");
        appendUnsigned(text, step.offset);
        text.push_back('\n');
    }
    if (count > steps.size()) {
        text.append("    (");
        appendUnsigned(text, count - steps.size());
        text.append(" more)\n");
    }
}

void navigationSection(TextWriter& out, const NavigationFacts& navigation) {
    out.heading("Navigation stream (APID 957)");
    out.count("packet length (bytes)", navigation.packetSize);
    out.count("navigation packets", navigation.packets);
    out.count("of another length", navigation.wrongLength);
    std::string& first = out.label("first time tag");
    out.time(navigation.firstTime);
    first.append(" TAI (TAI93 ");
    appendFixedOr(first, navigation.firstTime, 3, kNotApplicable);
    first.append(" s)");
    out.end();
    std::string& last = out.label("last time tag");
    out.time(navigation.lastTime);
    last.append(" TAI (TAI93 ");
    appendFixedOr(last, navigation.lastTime, 3, kNotApplicable);
    last.append(" s)");
    out.end();
    out.line("span (s)", fixedOrNa(navigation.span, 3));
    std::string& records = out.label("records written");
    appendUnsigned(records, navigation.records);
    records.append(" (real ");
    appendUnsigned(records, navigation.realRecords);
    records.append(", filled ");
    appendUnsigned(records, navigation.fillRecords);
    records.append(")");
    out.end();
    out.line("coverage", fixedOrNa(navigation.coverage, 6));
    std::string& gaps = out.label("gaps");
    appendUnsigned(gaps, navigation.gaps.size());
    gaps.append(" (filled ");
    appendUnsigned(gaps, navigation.filledGaps);
    gaps.append(", flagged only ");
    appendUnsigned(gaps, navigation.flaggedGaps);
    gaps.append(")");
    out.end();
    std::string& text = out.text();
    if (!navigation.gaps.empty()) {
        text.append("    start                    end                        length s  class    fill records\n");
        for (const GapFacts& gap : navigation.gaps) {
            text.append("    ");
            out.timeCell(gap.start);
            text.append("  ");
            out.timeCell(gap.end);
            out.cell(fixedOrNa(gap.end - gap.start, 3), 12);
            text.append(gap.filled ? "  filled " : "  flagged");
            out.cell(unsignedText(gap.fillRecords), 14);
            text.push_back('\n');
        }
    }
    stepList(out, "exact duplicates", navigation.duplicates, navigation.firstDuplicates);
    stepList(out, "backward steps", navigation.backwardSteps, navigation.firstBackwardSteps);
}

void attitudeSection(TextWriter& out, const AttitudeFacts& attitude) {
    out.heading("Attitude");
    out.count("angles not finite (records)", attitude.nonFiniteAngles);
    std::string& norm = out.label("largest |norm(q) - 1|");
    norm.append("real ");
    appendScientificOr(norm, attitude.largestNormDepartureReal, 3, kNotApplicable);
    norm.append(", filled ");
    appendScientificOr(norm, attitude.largestNormDepartureFilled, 3, kNone);
    out.end();
}

void elementSetLines(TextWriter& out, const ElementSetFacts& set) {
    if (!set.read) {
        out.line("element set", "none (no norad file): kova stores orbit number 0 and node times of date 0");
        return;
    }
    out.line("norad file", printableText(set.fileName));
    out.line("name searched", printableText(set.searchKey));
    out.line("name line", printableText(set.nameLine));
    out.line("line 1", printableText(set.line1));
    out.line("line 2", printableText(set.line2));
    std::string& epoch = out.label("epoch");
    if (!appendUtIsoFromSeconds1958(epoch, set.epochUtSeconds1958)) epoch.append(kNotApplicable);
    epoch.append(" UT (");
    out.time(set.epoch);
    epoch.append(" TAI)");
    out.end();
    std::string& age = out.label("age at pass start");
    appendFixedOr(age, set.ageAtStart, 3, kNotApplicable);
    age.append(" s (");
    appendFixedOr(age, set.ageAtStart / 86400.0, 3, kNotApplicable);
    age.append(" days)");
    out.end();
    std::string& checksums = out.label("checksums");
    checksums.append(set.line1ChecksumGood ? "line 1 good" : "line 1 wrong");
    checksums.append(set.line2ChecksumGood ? ", line 2 good" : ", line 2 wrong");
    out.end();
    std::string& problems = out.label("problems");
    if (set.problems.empty()) problems.append(kNone);
    for (std::size_t i = 0; i < set.problems.size(); ++i) {
        if (i > 0) problems.append("; ");
        appendPrintable(problems, set.problems[i]);
    }
    out.end();
}

void orbitSection(TextWriter& out, const OrbitFacts& orbit) {
    out.heading("Orbit");
    elementSetLines(out, orbit.elementSet);
    std::string& numbers = out.label("orbit numbers");
    appendInteger(numbers, orbit.beginOrbit);
    numbers.append(" to ");
    appendInteger(numbers, orbit.endOrbit);
    out.end();
    std::string& elements = out.label("header elements");
    elements.append("a ");
    appendFixedOr(elements, orbit.headerElements[0], 3, kNotApplicable);
    elements.append(" m, e ");
    appendFixedOr(elements, orbit.headerElements[1], 9, kNotApplicable);
    static constexpr std::string_view kAngleNames[] = {", i ", ", RAAN ", ", omega ", ", M "};
    for (std::size_t k = 0; k < 4; ++k) {
        elements.append(kAngleNames[k]);
        appendFixedOr(elements, orbit.headerElements[2 + k], 6, kNotApplicable);
    }
    elements.append(" deg");
    out.end();
    std::string& perigee = out.label("lowest perigee height (m)");
    appendFixedOr(perigee, orbit.lowestPerigee, 3, kNotApplicable);
    perigee.append(" (revolution ");
    appendUnsigned(perigee, orbit.lowestPerigeeRevolution);
    perigee.append(")");
    out.end();
    std::string& apogee = out.label("highest apogee height (m)");
    appendFixedOr(apogee, orbit.highestApogee, 3, kNotApplicable);
    apogee.append(" (revolution ");
    appendUnsigned(apogee, orbit.highestApogeeRevolution);
    apogee.append(")");
    out.end();
    out.count("revolutions", orbit.revolutions.size());

    std::string& text = out.text();
    text.append(
        "   rev   orbit  model ascending node   measured                 model-meas s"
        "  model descending node  measured                 model-meas s"
        "  model lon deg  meas lon deg  model-meas deg  perigee m     apogee m\n");
    for (std::size_t i = 0; i < orbit.revolutions.size(); ++i) {
        const RevolutionFacts& revolution = orbit.revolutions[i];
        out.cell(unsignedText(i), 6);
        std::string number;
        appendInteger(number, revolution.orbitNumber);
        out.cell(number, 8);
        text.append("  ");
        out.cell(revolution.nodesSet ? timeText(revolution.ascendingNode) : std::string(kNotApplicable), 23);
        text.append("  ");
        out.cell(timeText(revolution.ascending.time), 23);
        out.cell(fixedText(nodeTimeDifference(revolution, true), 3, kNone), 14);
        text.append("  ");
        out.cell(revolution.nodesSet ? timeText(revolution.descendingNode) : std::string(kNotApplicable), 23);
        text.append("  ");
        out.cell(timeText(revolution.descending.time), 23);
        out.cell(fixedText(nodeTimeDifference(revolution, false), 3, kNone), 14);
        out.cell(fixedOrNa(revolution.descendingNodeLongitude, 4), 15);
        out.cell(fixedText(revolution.descending.longitude, 4, kNone), 14);
        out.cell(fixedText(longitudeDifference(revolution), 4, kNone), 16);
        out.cell(fixedOrNa(revolution.perigeeHeight, 1), 11);
        out.cell(fixedOrNa(revolution.apogeeHeight, 1), 13);
        text.push_back('\n');
    }
}

}  // namespace

std::string textReport(const PassReport& report) {
    TextWriter out;
    std::string& text = out.text();
    text.append("kovareport ");
    text.append(report.programVersion);
    text.append(": ");
    appendPrintable(text, report.packetFileName);
    text.append(" (satellite ");
    appendPrintable(text, report.satelliteName);
    text.append(")\n");
    fileSection(out, report.census);
    navigationSection(out, report.navigation);
    attitudeSection(out, report.attitude);
    orbitSection(out, report.orbit);
    return std::move(out.text());
}

}  // namespace kova::report
