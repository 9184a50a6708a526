#include "export/message_writer.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "export/kvn_text.h"

namespace kova {

namespace {

// Digits after the point: km to 1 um, km/s to 1 nm/s, quaternion components to 1e-15 (so the
// printed norm is 1 within 1e-9); at most 16 significant digits below 10^7 km.
constexpr int kPositionDecimals = 9;
constexpr int kVelocityDecimals = 12;
constexpr int kQuaternionDecimals = 15;
constexpr int kLagrangeDegree = 5;

std::string_view reasonText(LeftOutReason reason) {
    switch (reason) {
        case LeftOutReason::kTimeNotWritable:
            return "its time is not finite or lies outside the years 0000 to 9999";
        case LeftOutReason::kTimeNotIncreasing:
            return "its epoch does not follow the previous one (repeated or earlier time)";
        case LeftOutReason::kTimeBeyondNeighbours:
            return "its epoch lies beyond the records on either side (a lone wrong time)";
        case LeftOutReason::kStateNotFinite:
            return "its position or velocity is not finite";
        case LeftOutReason::kNoAttitude:
            return "its quaternion has zero norm or a component that is not finite";
    }
    return "";
}

}  // namespace

MessageWriter::MessageWriter(const MessagePlan& plan, const MessageIdentity& identity, ByteSink& sink)
    : plan_(plan), identity_(identity), sink_(sink), selector_(plan.selector()), buffer_(new char[kBufferSize]) {
    writeHeader();
}

void MessageWriter::put(std::string_view text) {
    // Lines are formed in the buffer's reserve; a text longer than what is left (a keyword
    // value of any length) goes out after the buffer, or straight to the sink past its size.
    if (text.size() > kBufferSize - used_) {
        flush();
        if (text.size() > kBufferSize) {
            if (!sink_.failed()) sink_.write(text.data(), text.size());
            return;
        }
    }
    std::memcpy(buffer_.get() + used_, text.data(), text.size());
    used_ += text.size();
}

void MessageWriter::putKeyword(std::string_view keyword, std::string_view value) {
    put(keyword);
    put(" = ");
    put(value);
    put("\n");
    flushIfFull();
}

void MessageWriter::putEpochKeyword(std::string_view keyword, std::int64_t microseconds) {
    char epoch[kvn::kEpochTextSize];
    kvn::writeEpoch(epoch, microseconds);
    putKeyword(keyword, std::string_view(epoch, sizeof epoch));
}

bool MessageWriter::flush() {
    if (used_ > 0 && !sink_.failed()) sink_.write(buffer_.get(), used_);
    used_ = 0;
    if (sink_.failed() && !failed_) {
        failed_ = true;
        error_ = sink_.error();
    }
    return !failed_;
}

void MessageWriter::writeHeader() {
    if (plan_.kind() == MessageKind::kOem) {
        putKeyword("CCSDS_OEM_VERS", "2.0");
        put("COMMENT One state per record of kova's ephemeris product (one per second), position in km,\n"
            "COMMENT velocity in km/s, unchanged from the navigation solution in frame J2000 (EME2000).\n");
    } else {
        putKeyword("CCSDS_AEM_VERS", identity_.aemVersion == AemVersion::k1_0 ? "1.0" : "2.0");
        put("COMMENT One attitude per record of kova's products (one per second): the navigation\n"
            "COMMENT quaternion normalised; it turns EME2000 components into spacecraft body components.\n");
    }
    put("COMMENT A long gap ends a segment. Fill records of short gaps are kept; they, and records\n"
        "COMMENT left out, are named in comments at the start of their segment's data.\n");
    putKeyword("CREATION_DATE", identity_.creationDate);
    putKeyword("ORIGINATOR", identity_.originator);
}

void MessageWriter::openSegment(const PlannedSegment& segment, bool afterLongGap) {
    const bool oem = plan_.kind() == MessageKind::kOem;
    put("\nMETA_START\n");
    putKeyword("OBJECT_NAME", identity_.objectName);
    putKeyword("OBJECT_ID", identity_.objectId);
    putKeyword("CENTER_NAME", "EARTH");
    if (oem) {
        putKeyword("REF_FRAME", "EME2000");
    } else {
        putKeyword("REF_FRAME_A", "EME2000");
        putKeyword("REF_FRAME_B", "SC_BODY_1");
        if (identity_.aemVersion == AemVersion::k1_0) putKeyword("ATTITUDE_DIR", "A2B");
    }
    putKeyword("TIME_SYSTEM", "TAI");
    putEpochKeyword("START_TIME", segment.firstMicroseconds);
    putEpochKeyword("STOP_TIME", segment.lastMicroseconds);
    if (!oem) {
        putKeyword("ATTITUDE_TYPE", "QUATERNION");
        if (identity_.aemVersion == AemVersion::k1_0) putKeyword("QUATERNION_TYPE", "LAST");
    }
    // Lagrange through up to six points; a segment of one record recommends no interpolation.
    if (segment.recordCount > 1) {
        const auto degree = static_cast<int>(std::min<std::uint64_t>(kLagrangeDegree, segment.recordCount - 1));
        const char degreeText[1] = {static_cast<char>('0' + degree)};
        putKeyword(oem ? "INTERPOLATION" : "INTERPOLATION_METHOD", "LAGRANGE");
        putKeyword("INTERPOLATION_DEGREE", std::string_view(degreeText, 1));
    }
    put("META_STOP\n\n");
    if (!oem) put("DATA_START\n");
    if (afterLongGap) put("COMMENT Follows a long gap: no interpolation across the previous segment.\n");
    for (const PlanNote& note : plan_.notesOf(segment)) writeNote(note);
    flushIfFull();
}

void MessageWriter::writeNote(const PlanNote& note) {
    char line[kLineReserve];
    char* end = line;
    const auto append = [&end](std::string_view text) {
        std::memcpy(end, text.data(), text.size());
        end += text.size();
    };
    if (note.kind == PlanNote::Kind::kFilled) {
        append("COMMENT Filled by interpolation (short gap): ");
        end = kvn::writeEpoch(end, note.firstMicroseconds);
        if (note.lastMicroseconds != note.firstMicroseconds) {
            append(" to ");
            end = kvn::writeEpoch(end, note.lastMicroseconds);
        }
    } else {
        append("COMMENT Left out: record ");
        char number[24];
        const auto* numberEnd = std::to_chars(number, number + sizeof number, note.recordIndex).ptr;
        append(std::string_view(number, static_cast<std::size_t>(numberEnd - number)));
        if (note.hasEpoch) {
            append(" at ");
            end = kvn::writeEpoch(end, note.firstMicroseconds);
        }
        append(": ");
        append(reasonText(note.reason));
    }
    append("\n");
    put(std::string_view(line, static_cast<std::size_t>(end - line)));
    flushIfFull();
}

void MessageWriter::writeDataLine(const RecordChoice& choice, const ExportRecord& record) {
    char* out = buffer_.get() + used_;
    char* const start = out;
    out = epochText_.write(out, choice.microseconds);
    if (plan_.kind() == MessageKind::kOem) {
        // m to km and m/s to km/s by a division, as the reference maps kova's values.
        for (double value : record.position) {
            *out++ = ' ';
            out = kvn::writeFixed(out, value / 1000.0, kPositionDecimals);
        }
        for (double value : record.velocity) {
            *out++ = ' ';
            out = kvn::writeFixed(out, value / 1000.0, kVelocityDecimals);
        }
    } else {
        for (double value : choice.unitQuaternion) {
            *out++ = ' ';
            out = kvn::writeFixed(out, value, kQuaternionDecimals);
        }
    }
    *out++ = '\n';
    used_ += static_cast<std::size_t>(out - start);
    flushIfFull();
}

bool MessageWriter::disagree(std::string_view what) {
    if (!failed_) {
        failed_ = true;
        error_ = "the input changed while it was exported (" + std::string(what) + ")";
    }
    return false;
}

bool MessageWriter::closeSegment() {
    if (segment_ == 0) return true;
    const PlannedSegment& planned = plan_.segments()[segment_ - 1];
    if (segmentRecords_ != planned.recordCount || lastMicroseconds_ != planned.lastMicroseconds) {
        return disagree("a segment's records differ");
    }
    if (plan_.kind() == MessageKind::kAem) put("DATA_STOP\n");
    return true;
}

bool MessageWriter::add(const ExportRecord& record) {
    if (failed_) return false;
    const RecordChoice choice = selector_.choose(record);
    if (!choice.exported) return true;
    if (choice.opensSegment) {
        if (!closeSegment()) return false;
        if (segment_ == plan_.segments().size()) return disagree("more segments than planned");
        const PlannedSegment& next = plan_.segments()[segment_];
        if (next.firstMicroseconds != choice.microseconds) return disagree("a segment starts elsewhere");
        openSegment(next, segment_ > 0);
        ++segment_;
        segmentRecords_ = 0;
    }
    writeDataLine(choice, record);
    ++segmentRecords_;
    lastMicroseconds_ = choice.microseconds;
    return !failed_;
}

bool MessageWriter::finish() {
    if (failed_) return false;
    if (!closeSegment()) return false;
    if (segment_ != plan_.segments().size()) return disagree("fewer segments than planned");
    return flush();
}

}  // namespace kova
