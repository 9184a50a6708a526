#include "report/html_page.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "report/input_text.h"
#include "report/number_text.h"
#include "report/svg_chart.h"
#include "report/walk_end_text.h"

namespace kova::report {
namespace {

constexpr double kTimeChartHeight = 300.0;
constexpr double kTrackChartHeight = 520.0;
constexpr double kMetresPerKilometre = 1000.0;
constexpr double kDisplayPadding = 0.05;  // of the value range, above and below

constexpr std::string_view kStyle = R"(
body{font-family:sans-serif;margin:1.5em auto;max-width:1000px;color:#1a1a1a;background:#fff;line-height:1.35}
h1{font-size:1.5em;margin-bottom:.2em}h2{font-size:1.2em;border-bottom:1px solid #bbb;margin-top:1.6em}
.subtitle{color:#555;margin-top:0}
dl.figures{display:grid;grid-template-columns:repeat(auto-fill,minmax(220px,1fr));gap:.4em 1em;margin:0}
dl.figures div{border:1px solid #ddd;border-radius:4px;padding:.4em .6em;background:#f7f7f7}
dl.figures dt{font-size:.8em;color:#555}dl.figures dd{margin:0;font-size:1.15em;font-weight:bold}
table{border-collapse:collapse;font-size:.85em;margin:.5em 0}th,td{border:1px solid #ccc;padding:.15em .45em;text-align:right}
th{background:#eee}td.text,th.text{text-align:left}td{white-space:nowrap}.wide{overflow-x:auto}
figure{margin:1em 0}svg.chart{width:100%;height:auto;display:block}
svg .background{fill:#fff}svg .frame{fill:none;stroke:#444;stroke-width:1}
svg .grid{stroke:#ddd;stroke-width:1}svg text{font-family:sans-serif;font-size:13px;fill:#222}
svg .chart-title{font-size:16px;font-weight:bold}svg .tick.x{text-anchor:middle}svg .tick.y{text-anchor:end}
svg .axis-label{text-anchor:middle;font-size:14px}svg .legend{font-size:13px}
svg .note{text-anchor:middle;font-size:15px;fill:#555}
.series{fill:none;stroke-width:1.2;stroke-linejoin:round}
.real{stroke:#1f5fbf}.fill{stroke:#e08a00}.gap{stroke:#c0392b}
.angle1{stroke:#1f5fbf}.angle2{stroke:#2e9a47}.angle3{stroke:#c0392b}
.track{fill:none;stroke-width:1.4}.dot{fill:none;stroke-width:7;stroke-linecap:round}
.square{fill:none;stroke-width:6;stroke-linecap:square}.asc{stroke:#1f5fbf}.desc{stroke:#7b3fb0}
.bar-filled{fill:#e08a00}.bar-flagged{fill:#c0392b}.legend-line{stroke-width:3}
.coast{fill:#f2f6fb}
@media print{body{max-width:none;margin:0;font-size:10pt}figure,dl{break-inside:avoid}
.wide{overflow:visible}table{font-size:7pt}tr{break-inside:avoid}
h2{break-after:avoid}dl.figures div{background:none}}
)";

// The unit of a time axis for a pass of `span` seconds.
struct TimeUnit {
    double seconds;
    const char* name;
};

TimeUnit timeUnitFor(double span) {
    if (span < 3.0 * 3600.0) return {60.0, "min"};
    if (span < 72.0 * 3600.0) return {3600.0, "h"};
    return {86400.0, "d"};
}

std::string timeText(double tai93) { return tai93IsoText(tai93, "none"); }
std::string fixedOrNa(double value, int decimals) { return fixedText(value, decimals, "n/a"); }

class PageWriter {
public:
    explicit PageWriter(const PassReport& report)
        : report_(report), unit_(timeUnitFor(report.navigation.span)) {}
    std::string write();

private:
    void figure(std::string_view name, const std::string& value);
    void summary();
    void groundTrackChart();
    void timeSeriesChart(std::string_view id, std::string_view title, std::string_view yLabel,
                         std::size_t firstSeries, std::size_t seriesCount, double scale);
    void gapTimelineChart();
    void nodeDifferenceChart();
    void tables();
    void cell(std::string_view text, bool leftAligned = false);
    void headerRow(std::initializer_list<std::string_view> names);
    std::string timeAxisLabel() const {
        return std::string("time since the first time tag [") + unit_.name + "]";
    }
    double pointMove(std::string& path, double x, double y, bool start) const;

    const PassReport& report_;
    TimeUnit unit_;
    std::string page_;
};

void PageWriter::figure(std::string_view name, const std::string& value) {
    page_.append("<div><dt>");
    appendHtmlEscaped(page_, name);
    page_.append("</dt><dd>");
    appendHtmlEscaped(page_, value);
    page_.append("</dd></div>");
}

void PageWriter::summary() {
    const NavigationFacts& navigation = report_.navigation;
    const OrbitFacts& orbit = report_.orbit;
    page_.append("<section id=\"summary\"><h2>Summary</h2><dl class=\"figures\">");
    figure("span", fixedOrNa(navigation.span, 3) + " s (" + fixedOrNa(navigation.span / 3600.0, 2) + " h)");
    figure("coverage (real records / span + 1 s)", fixedOrNa(100.0 * navigation.coverage, 3) + " %");
    figure("records written (real + filled)", unsignedText(navigation.records) + " (" + unsignedText(navigation.realRecords) +
                                                   " + " + unsignedText(navigation.fillRecords) + ")");
    figure("gaps (filled / flagged only)", unsignedText(navigation.gaps.size()) + " (" +
                                               unsignedText(navigation.filledGaps) + " / " +
                                               unsignedText(navigation.flaggedGaps) + ")");
    figure("fill records", unsignedText(navigation.fillRecords));
    figure("exact duplicates / backward steps",
           unsignedText(navigation.duplicates) + " / " + unsignedText(navigation.backwardSteps));
    std::uint64_t breaks = 0;
    for (const ApidCensus& apid : report_.census.apids()) breaks += apid.sequenceBreaks;
    figure("sequence breaks (all APIDs)", unsignedText(breaks));
    std::string orbits;
    appendInteger(orbits, orbit.beginOrbit);
    orbits.append(" to ");
    appendInteger(orbits, orbit.endOrbit);
    figure("orbit numbers", orbits);
    figure("revolutions", unsignedText(orbit.revolutions.size()));
    figure("element set age at start",
           orbit.elementSet.read ? fixedOrNa(orbit.elementSet.ageAtStart / 86400.0, 3) + " d" : std::string("no element set"));
    figure("first time tag (TAI)", timeText(navigation.firstTime));
    figure("last time tag (TAI)", timeText(navigation.lastTime));
    page_.append("</dl></section>\n");
}

double PageWriter::pointMove(std::string& path, double x, double y, bool start) const {
    path.push_back(start ? 'M' : 'L');
    appendCoordinate(path, x);
    path.push_back(' ');
    appendCoordinate(path, y);
    return x;
}

void PageWriter::groundTrackChart() {
    SvgChart chart("ground-track", "Ground track (geocentric latitude, longitude)", kTrackChartHeight,
                   ChartAxis{-180.0, 180.0, "longitude [deg]", false, 30.0},
                   ChartAxis{-90.0, 90.0, "latitude [deg]", false, 30.0});
    std::string& marks = chart.marks();
    for (const bool filled : {false, true}) {
        marks.append(filled ? "<path class=\"track fill\" d=\"" : "<path class=\"track real\" d=\"");
        for (const TrackStretch& stretch : report_.charts.groundTrack.stretches()) {
            if (stretch.filled != filled) continue;
            bool start = true;
            for (const TrackPoint& point : stretch.points) {
                pointMove(marks, chart.xOf(point.longitude), chart.yOf(point.latitude), start);
                start = false;
            }
        }
        marks.append("\"/>");
    }
    marks.append("<path class=\"dot gap\" d=\"");
    for (const TrackPoint& point : report_.charts.groundTrack.gapEnds()) {
        pointMove(marks, chart.xOf(point.longitude), chart.yOf(point.latitude), true);
        marks.append("h0");
    }
    marks.append("\"/>");
    chart.legend("legend-line gap", "ends of a long gap");
    chart.legend("legend-line fill", "filled records");
    chart.legend("legend-line real", "real records");
    page_.append("<figure>");
    chart.writeTo(page_);
    page_.append("</figure>\n");
}

void PageWriter::timeSeriesChart(std::string_view id, std::string_view title, std::string_view yLabel,
                                 std::size_t firstSeries, std::size_t seriesCount, double scale) {
    const ColumnRanges& ranges = report_.charts.timeSeries;
    const double span = report_.navigation.span;
    double low = INFINITY;
    double high = -INFINITY;
    for (std::size_t c = 0; c < ranges.columns(); ++c) {
        for (std::size_t s = firstSeries; s < firstSeries + seriesCount; ++s) {
            if (!ranges.hasValues(c, s)) continue;
            low = std::min(low, ranges.low(c, s) * scale);
            high = std::max(high, ranges.high(c, s) * scale);
        }
    }
    const double padding = (high - low) * kDisplayPadding;
    SvgChart chart(id, title, kTimeChartHeight, ChartAxis{0.0, span / unit_.seconds, timeAxisLabel()},
                   ChartAxis{low - padding, high + padding, std::string(yLabel)});
    std::string& marks = chart.marks();
    static constexpr std::string_view kClasses[] = {"real", "angle1", "angle2", "angle3"};
    static constexpr std::string_view kAngleNames[] = {"A(1,2) about axis 3", "A(2,3) about axis 1",
                                                       "A(3,1) about axis 2"};
    for (std::size_t s = firstSeries; s < firstSeries + seriesCount; ++s) {
        marks.append("<path class=\"series ");
        marks.append(seriesCount == 1 ? kClasses[0] : kClasses[1 + s - firstSeries]);
        marks.append("\" d=\"");
        bool start = true;
        for (std::size_t c = 0; c < ranges.columns(); ++c) {
            if (!ranges.hasValues(c, s)) {
                start = true;  // no record in the column: a long gap
                continue;
            }
            const double time = (static_cast<double>(c) + 0.5) / static_cast<double>(ranges.columns()) * span;
            const double x = chart.xOf(time / unit_.seconds);
            pointMove(marks, x, chart.yOf(ranges.low(c, s) * scale), start);
            if (ranges.high(c, s) != ranges.low(c, s)) pointMove(marks, x, chart.yOf(ranges.high(c, s) * scale), false);
            start = false;
        }
        marks.append("\"/>");
    }
    if (seriesCount > 1) {
        for (std::size_t k = seriesCount; k-- > 0;) {
            chart.legend(std::string("legend-line ") + std::string(kClasses[1 + k]), kAngleNames[k]);
        }
    }
    page_.append("<figure>");
    chart.writeTo(page_);
    page_.append("</figure>\n");
}

void PageWriter::gapTimelineChart() {
    const NavigationFacts& navigation = report_.navigation;
    double longest = 1.0;
    for (const GapFacts& gap : navigation.gaps) longest = std::max(longest, gap.end - gap.start);
    const double top = std::pow(10.0, std::max(1.0, std::ceil(std::log10(longest) + 1e-9)));
    SvgChart chart("gap-timeline", "Gap timeline (bar height: gap length)", kTimeChartHeight,
                   ChartAxis{0.0, navigation.span / unit_.seconds, timeAxisLabel()},
                   ChartAxis{1.0, top, "gap length [s]", true});
    // One bar per pixel column at most: the longest gap in it, red when any is flagged only.
    const auto columns = static_cast<std::size_t>(chart.plotRight() - chart.plotLeft());
    std::vector<double> length(columns, 0.0);
    std::vector<bool> flagged(columns, false);
    auto columnOf = [&](double time) {
        const double at = (time - navigation.firstTime) / navigation.span * static_cast<double>(columns);
        if (!(at > 0.0)) return std::size_t{0};
        return std::min(columns - 1, static_cast<std::size_t>(at));
    };
    for (const GapFacts& gap : navigation.gaps) {
        for (std::size_t c = columnOf(gap.start), last = columnOf(gap.end); c <= last; ++c) {
            length[c] = std::max(length[c], gap.end - gap.start);
            if (!gap.filled) flagged[c] = true;
        }
    }
    std::string& marks = chart.marks();
    for (std::size_t c = 0; c < columns; ++c) {
        if (length[c] <= 0.0) continue;
        const double y = chart.yOf(std::max(length[c], 1.5));
        marks.append(flagged[c] ? "<rect class=\"bar-flagged\" x=\"" : "<rect class=\"bar-filled\" x=\"");
        appendCoordinate(marks, chart.plotLeft() + static_cast<double>(c));
        marks.append("\" y=\"");
        appendCoordinate(marks, y);
        marks.append("\" width=\"1.2\" height=\"");
        appendCoordinate(marks, chart.plotBottom() - y);
        marks.append("\"/>");
    }
    if (navigation.gaps.empty()) {
        marks.append("<text class=\"note\" x=\"");
        appendCoordinate(marks, 0.5 * (chart.plotLeft() + chart.plotRight()));
        marks.append("\" y=\"");
        appendCoordinate(marks, 0.5 * (chart.plotTop() + chart.plotBottom()));
        marks.append("\">no gap: consecutive time tags at most 1.1 s apart</text>");
    }
    chart.legend("legend-line gap", "flagged only (over 60 s)");
    chart.legend("legend-line fill", "filled (up to 60 s)");
    page_.append("<figure>");
    chart.writeTo(page_);
    page_.append("</figure>\n");
}

void PageWriter::nodeDifferenceChart() {
    const OrbitFacts& orbit = report_.orbit;
    const bool byOrbitNumber = orbit.modelUsable;
    double low = INFINITY;
    double high = -INFINITY;
    double firstX = INFINITY;
    double lastX = -INFINITY;
    for (std::size_t i = 0; i < orbit.revolutions.size(); ++i) {
        const RevolutionFacts& revolution = orbit.revolutions[i];
        const double x = byOrbitNumber ? static_cast<double>(revolution.orbitNumber) : static_cast<double>(i);
        firstX = std::min(firstX, x);
        lastX = std::max(lastX, x);
        for (const bool ascending : {true, false}) {
            const double difference = nodeTimeDifference(revolution, ascending);
            if (!std::isfinite(difference)) continue;
            low = std::min(low, difference);
            high = std::max(high, difference);
        }
    }
    const double padding = std::max((high - low) * kDisplayPadding, 0.5);
    // Orbit numbers are whole: a short pass gets a tick per revolution, not fractions of one.
    const double xStep = lastX - firstX < 6.0 ? 1.0 : 0.0;
    SvgChart chart("node-differences", "Model minus measured node times per revolution", kTimeChartHeight,
                   ChartAxis{firstX - 0.5, lastX + 0.5, byOrbitNumber ? "orbit number" : "revolution of the pass",
                             false, xStep},
                   ChartAxis{low - padding, high + padding, "model minus measured [s]"});
    std::string& marks = chart.marks();
    for (const bool ascending : {true, false}) {
        marks.append(ascending ? "<path class=\"dot asc\" d=\"" : "<path class=\"square desc\" d=\"");
        for (std::size_t i = 0; i < orbit.revolutions.size(); ++i) {
            const RevolutionFacts& revolution = orbit.revolutions[i];
            const double difference = nodeTimeDifference(revolution, ascending);
            if (!std::isfinite(difference)) continue;
            const double x = byOrbitNumber ? static_cast<double>(revolution.orbitNumber) : static_cast<double>(i);
            pointMove(marks, chart.xOf(x), chart.yOf(difference), true);
            marks.append("h0");
        }
        marks.append("\"/>");
    }
    if (!std::isfinite(low)) {
        marks.append("<text class=\"note\" x=\"");
        appendCoordinate(marks, 0.5 * (chart.plotLeft() + chart.plotRight()));
        marks.append("\" y=\"");
        appendCoordinate(marks, 0.5 * (chart.plotTop() + chart.plotBottom()));
        marks.append(orbit.modelUsable ? "\">no crossing measured outside the gaps</text>"
                                       : "\">no element set: the model gives no node times</text>");
    }
    chart.legend("legend-line desc", "descending node");
    chart.legend("legend-line asc", "ascending node");
    page_.append("<figure>");
    chart.writeTo(page_);
    page_.append("</figure>\n");
}

void PageWriter::cell(std::string_view text, bool leftAligned) {
    page_.append(leftAligned ? "<td class=\"text\">" : "<td>");
    appendHtmlEscaped(page_, text);
    page_.append("</td>");
}

void PageWriter::headerRow(std::initializer_list<std::string_view> names) {
    page_.append("<tr>");
    for (const std::string_view name : names) {
        page_.append("<th>");
        appendHtmlEscaped(page_, name);
        page_.append("</th>");
    }
    page_.append("</tr>");
}

void PageWriter::tables() {
    const PacketCensus& census = report_.census;
    page_.append("<section id=\"file\"><h2>File</h2><p>");
    page_.append(unsignedText(census.fileSize()));
    page_.append(" bytes, ");
    page_.append(unsignedText(census.packetCount()));
    page_.append(" packets; the walk stopped: ");
    page_.append(walkEndName(census.end()));
    page_.append(" at offset ");
    page_.append(unsignedText(census.endOffset()));
    if (census.end() == CensusEnd::kTruncatedPacket) page_.append(" (" + unsignedText(census.missingBytes()) + " bytes missing)");
    if (census.end() == CensusEnd::kPartialHeader) page_.append(" (" + unsignedText(census.partialHeaderBytes()) + " bytes)");
    page_.append(".</p><div class=\"wide\"><table>");
    headerRow({"APID", "packets", "bytes", "shortest", "longest", "sequence breaks", "first breaks (offset: expected → found)"});
    for (const ApidCensus& apid : census.apids()) {
        page_.append("<tr>");
        cell(unsignedText(static_cast<std::uint64_t>(apid.apid)));
        cell(unsignedText(apid.packets));
        cell(unsignedText(apid.bytes));
        cell(unsignedText(apid.shortestPacket));
        cell(unsignedText(apid.longestPacket));
        cell(unsignedText(apid.sequenceBreaks));
        std::string breaks;
        for (const SequenceBreak& gap : apid.firstBreaks) {
            if (!breaks.empty()) breaks.append("; ");
            breaks.append(unsignedText(gap.offset) + ": " + std::to_string(gap.expected) + " → " + std::to_string(gap.found));
        }
        cell(breaks, true);
        page_.append("</tr>");
    }
    page_.append("</table></div></section>\n");

    const NavigationFacts& navigation = report_.navigation;
    page_.append("<section id=\"navigation\"><h2>Navigation stream</h2><p>");
    page_.append(unsignedText(navigation.packets) + " navigation packets of " + unsignedText(navigation.packetSize) +
                 " bytes (" + unsignedText(navigation.wrongLength) + " of another length), time tags " +
                 timeText(navigation.firstTime) + " to " + timeText(navigation.lastTime) + " TAI.</p>");
    page_.append("<table>");
    headerRow({"gap start (TAI)", "end (TAI)", "length [s]", "class", "fill records"});
    for (std::size_t i = 0; i < navigation.gaps.size() && i < kPageTableRows; ++i) {
        const GapFacts& gap = navigation.gaps[i];
        page_.append("<tr>");
        cell(timeText(gap.start), true);
        cell(timeText(gap.end), true);
        cell(fixedOrNa(gap.end - gap.start, 3));
        cell(gap.filled ? "filled" : "flagged only", true);
        cell(unsignedText(gap.fillRecords));
        page_.append("</tr>");
    }
    page_.append("</table>");
    if (navigation.gaps.size() > kPageTableRows) {
        page_.append("<p>The first " + unsignedText(kPageTableRows) + " of " + unsignedText(navigation.gaps.size()) +
                     " gaps; the text and JSON reports list them all.</p>");
    }
    for (const bool duplicates : {true, false}) {
        const std::vector<StepFacts>& steps = duplicates ? navigation.firstDuplicates : navigation.firstBackwardSteps;
        const std::uint64_t count = duplicates ? navigation.duplicates : navigation.backwardSteps;
        page_.append(duplicates ? "<p>Exact duplicates: " : "<p>Backward steps: ");
        page_.append(unsignedText(count) + "</p>");
        if (steps.empty()) continue;
        page_.append("<table>");
        headerRow({"time (TAI)", "step [s]", "packet", "offset"});
        for (const StepFacts& step : steps) {
            page_.append("<tr>");
            cell(timeText(step.time), true);
            cell(fixedOrNa(step.step, 3));
            cell(unsignedText(step.packetIndex));
            cell(unsignedText(step.offset));
            page_.append("</tr>");
        }
        page_.append("</table>");
    }
    page_.append("</section>\n");

    const AttitudeFacts& attitude = report_.attitude;
    page_.append("<section id=\"attitude\"><h2>Attitude</h2><p>Records whose angles are not finite: ");
    page_.append(unsignedText(attitude.nonFiniteAngles));
    page_.append(". Largest departure of the quaternion norm from 1: real records ");
    appendScientificOr(page_, attitude.largestNormDepartureReal, 3, "n/a");
    page_.append(", fill records ");
    appendScientificOr(page_, attitude.largestNormDepartureFilled, 3, "none");
    page_.append(".</p></section>\n");

    const OrbitFacts& orbit = report_.orbit;
    const ElementSetFacts& set = orbit.elementSet;
    page_.append("<section id=\"orbit\"><h2>Orbit</h2>");
    if (set.read) {
        std::string epoch;
        if (!appendUtIsoFromSeconds1958(epoch, set.epochUtSeconds1958)) epoch = "n/a";
        page_.append("<p>Element set from ");
        appendHtmlEscaped(page_, printableText(set.fileName));
        page_.append(" under \"");
        appendHtmlEscaped(page_, printableText(set.searchKey));
        page_.append("\": epoch " + epoch + " UT, " + fixedOrNa(set.ageAtStart / 86400.0, 3) +
                     " days before the first time tag; checksums: line 1 " + (set.line1ChecksumGood ? "good" : "wrong") +
                     ", line 2 " + (set.line2ChecksumGood ? "good" : "wrong") + "; problems: ");
        std::string problems;
        for (const std::string& problem : set.problems) problems += (problems.empty() ? "" : "; ") + printableText(problem);
        appendHtmlEscaped(page_, problems.empty() ? std::string("none") : problems);
        page_.append(".</p><pre>");
        appendHtmlEscaped(page_, printableText(set.nameLine) + "\n" + printableText(set.line1) + "\n" +
                                     printableText(set.line2));
        page_.append("</pre>");
    } else {
        page_.append("<p>No element set: kova stores orbit number 0 and node times of date 0.</p>");
    }
    page_.append("<p>Lowest perigee height " + fixedOrNa(orbit.lowestPerigee, 1) + " m (revolution " +
                 unsignedText(orbit.lowestPerigeeRevolution) + "), highest apogee height " +
                 fixedOrNa(orbit.highestApogee, 1) + " m (revolution " + unsignedText(orbit.highestApogeeRevolution) +
                 "), above " + fixedOrNa(kEquatorialRadius, 0) + " m.</p><div class=\"wide\"><table>");
    headerRow({"rev", "orbit", "model ascending node (TAI)", "measured", "model − measured [s]",
               "model descending node (TAI)", "measured", "model − measured [s]", "model longitude [deg]",
               "measured [deg]", "model − measured [deg]", "perigee [m]", "apogee [m]"});
    for (std::size_t i = 0; i < orbit.revolutions.size() && i < kPageTableRows; ++i) {
        const RevolutionFacts& revolution = orbit.revolutions[i];
        page_.append("<tr>");
        cell(unsignedText(i));
        cell(std::to_string(revolution.orbitNumber));
        cell(revolution.nodesSet ? timeText(revolution.ascendingNode) : "n/a", true);
        cell(timeText(revolution.ascending.time), true);
        cell(fixedText(nodeTimeDifference(revolution, true), 3, "none"));
        cell(revolution.nodesSet ? timeText(revolution.descendingNode) : "n/a", true);
        cell(timeText(revolution.descending.time), true);
        cell(fixedText(nodeTimeDifference(revolution, false), 3, "none"));
        cell(fixedOrNa(revolution.descendingNodeLongitude, 4));
        cell(fixedText(revolution.descending.longitude, 4, "none"));
        cell(fixedText(longitudeDifference(revolution), 4, "none"));
        cell(fixedOrNa(revolution.perigeeHeight, 1));
        cell(fixedOrNa(revolution.apogeeHeight, 1));
        page_.append("</tr>");
    }
    page_.append("</table></div>");
    if (orbit.revolutions.size() > kPageTableRows) {
        page_.append("<p>The first " + unsignedText(kPageTableRows) + " of " + unsignedText(orbit.revolutions.size()) +
                     " revolutions; the text and JSON reports list them all.</p>");
    }
    page_.append("</section>\n");
}

std::string PageWriter::write() {
    page_.append("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                 "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"><title>Pass report: ");
    appendHtmlEscaped(page_, printableText(report_.packetFileName));
    page_.append("</title><style>");
    page_.append(kStyle);
    page_.append("</style></head>\n<body><h1>Pass report: ");
    appendHtmlEscaped(page_, printableText(report_.packetFileName));
    page_.append("</h1><p class=\"subtitle\">kovareport ");
    appendHtmlEscaped(page_, report_.programVersion);
    page_.append(", satellite ");
    appendHtmlEscaped(page_, printableText(report_.satelliteName));
    page_.append("; times on the TAI scale of the time tags.</p>\n");
    summary();
    page_.append("<section id=\"charts\"><h2>Charts</h2>\n");
    groundTrackChart();
    timeSeriesChart("height", "Height above the equatorial radius", "height [km]", chart_series::kHeight, 1,
                    1.0 / kMetresPerKilometre);
    timeSeriesChart("attitude-angles", "Attitude angles relative to the orbital frame", "angle [deg]",
                    chart_series::kFirstAngle, 3, 1.0);
    gapTimelineChart();
    nodeDifferenceChart();
    page_.append("</section>\n");
    tables();
    page_.append("</body></html>\n");
    return std::move(page_);
}

}  // namespace

std::string htmlPage(const PassReport& report) { return PageWriter(report).write(); }

}  // namespace kova::report
