#pragma once
// Fuzz entry of kovareport's packet census: the walk over every APID of an arbitrary packet
// file, with names of arbitrary bytes, written as the text report, the JSON report and the
// page; on request the whole analysis of the pass as the report makes it.
//
// Input: one settings byte, one name length byte n, n name bytes, then the packet file.
//   byte 0, bit 0: navigation packets of 214 bytes (the satellite SELA) instead of 126
//   byte 0, bit 1: analyse the whole pass (record stream, revolutions) as kovareport does,
//          not only the census
//   the name: given as the packet file name and the satellite name of the report
// The census must add up (every packet of an APID counted once, within the file), and every
// form of the report must be UTF-8 throughout with no control byte but the line feed;
// anything else stops the process (a finding).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/scratch_file.h"
#include "packets/packet_census.h"
#include "packets/packet_layout.h"
#include "report/html_page.h"
#include "report/input_text.h"
#include "report/json_report.h"
#include "report/pass_analysis.h"
#include "report/text_report.h"

namespace kova::fuzz {

inline constexpr std::size_t kCensusWindowBytes = 4096;

// Stops the process unless `text` is well-formed UTF-8 without control characters other than
// the line feed.
inline void checkReportText(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t length = report::wellFormedUtf8Length(std::string_view(text).substr(at));
        if (length == 0) std::abort();
        const auto byte = static_cast<unsigned char>(text[at]);
        if (length == 1 && ((byte < 0x20 && byte != '\n') || byte == 0x7F)) std::abort();
        if (length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) <= 0x9F) std::abort();
        at += length;
    }
}

inline void checkCensus(const PacketCensus& census) {
    std::uint64_t packets = 0;
    std::uint64_t bytes = 0;
    for (const ApidCensus& apid : census.apids()) {
        if (apid.packets == 0 || apid.shortestPacket > apid.longestPacket) std::abort();
        if (apid.firstBreaks.size() > apid.sequenceBreaks || apid.sequenceBreaks >= apid.packets) std::abort();
        packets += apid.packets;
        bytes += apid.bytes;
    }
    if (packets != census.packetCount()) std::abort();
    // A truncated last packet is counted with its whole length; the rest lies in the file.
    if (census.endOffset() > census.fileSize() || bytes > census.fileSize() + census.missingBytes()) std::abort();
}

inline int fuzzReportCensus(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size < 2u + data[1]) return 0;
    static ScratchFile file("report");
    const bool wide = (data[0] & 1u) != 0;
    const bool wholePass = (data[0] & 2u) != 0;
    const std::string name(reinterpret_cast<const char*>(data) + 2, data[1]);
    const std::size_t fileStart = 2u + data[1];
    const std::string& fileName = file.write(data + fileStart, size - fileStart);

    report::PassReport passReport;
    if (wholePass) {
        report::AnalysisSettings settings;
        settings.packetFileName = fileName;
        settings.satelliteName = wide ? "SELA" : "MARU";
        settings.chartColumns = 50;
        settings.trackPoints = 200;
        if (!report::analysePass(settings, passReport).complete) return 0;
    } else {
        // A small window: packets straddle its ends, and the run needs no large buffer.
        passReport.census = PacketCensus(fileName, ExpectedPacketLength{kNavApid, wide ? kWideNavPacketSize : kNavPacketSize},
                                         kCensusWindowBytes);
    }
    checkCensus(passReport.census);
    passReport.packetFileName = name;
    passReport.satelliteName = name;
    checkReportText(report::textReport(passReport));
    checkReportText(report::jsonReport(passReport));
    checkReportText(report::htmlPage(passReport));
    return 0;
}

}  // namespace kova::fuzz
