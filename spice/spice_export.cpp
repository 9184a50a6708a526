#include "spice/spice_export.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

#include "spice/ck_type3.h"
#include "spice/daf_writer.h"
#include "spice/ephemeris_time.h"
#include "spice/frame_kernel.h"
#include "spice/naif_ids.h"
#include "spice/sclk_kernel.h"
#include "spice/spk_type13.h"
#include "spice/tag_text.h"

namespace kova {

namespace {

constexpr double kMetresPerKilometre = 1000.0;
constexpr std::size_t kCommentBytesPerLine = 96;  // a generous average, to reserve the text once
constexpr std::size_t kFixedCommentLines = 11;

bool allFinite(const std::array<double, 3>& values) {
    return std::isfinite(values[0]) && std::isfinite(values[1]) && std::isfinite(values[2]);
}

std::string_view baseName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string segmentName(std::size_t k, std::size_t n) {
    return "kova stretch " + std::to_string(k) + " of " + std::to_string(n);
}

}  // namespace

const char* leftOutReasonText(KernelLeftOutReason reason) {
    switch (reason) {
        case KernelLeftOutReason::kRepeatedOrEarlierTag: return "repeated or earlier tag";
        case KernelLeftOutReason::kNotFinite: return "not finite";
        case KernelLeftOutReason::kZeroQuaternion: return "zero quaternion";
        case KernelLeftOutReason::kSingleRecordStretch: return "single-record stretch";
    }
    return "";
}

SpiceKernelSet::SpiceKernelSet(SpiceKernelSettings settings, std::size_t recordCountHint, KernelStreamSinks streamTo)
    : settings_(std::move(settings)),
      bodyName_(normalisedBodyName(settings_.bodyName)),
      frameName_(busFrameName(bodyName_, settings_.spacecraftId)) {
    if (recordCountHint > 0) {
        if (settings_.keepStates && streamTo.spk != nullptr && streamTo.spk->canRewrite()) streamSinks_.spk = streamTo.spk;
        if (settings_.keepAttitude && streamTo.ck != nullptr && streamTo.ck->canRewrite()) streamSinks_.ck = streamTo.ck;
    }
    ticks_.reserve(recordCountHint);
    if (settings_.keepStates) states_.reserve(spk_type13::kWordsPerState * recordCountHint);
    if (settings_.keepAttitude) quaternions_.reserve(ck_type3::kWordsPerQuaternion * recordCountHint);
    // The stream computes the epochs as the records come.
    if (streamSinks_.spk != nullptr) epochs_.reserve(recordCountHint);
    if (streamSinks_.spk != nullptr || streamSinks_.ck != nullptr) {
        stream_ = std::make_unique<KernelStream>(
            HeldRecords{ticks_.data(), streamSinks_.spk != nullptr ? states_.data() : nullptr,
                        streamSinks_.ck != nullptr ? quaternions_.data() : nullptr,
                        streamSinks_.spk != nullptr ? epochs_.data() : nullptr},
            streamSinks_.spk, streamSinks_.ck);
        streaming_ = true;
    }
    if (recordCountHint > 0) {
        reserved_ = {ReservedRegion{ticks_.reservedMemory(), ticks_.reservedBytes()},
                     ReservedRegion{states_.reservedMemory(), states_.reservedBytes()},
                     ReservedRegion{quaternions_.reservedMemory(), quaternions_.reservedBytes()},
                     ReservedRegion{epochs_.reservedMemory(), epochs_.reservedBytes()}};
        populator_.start(&SpiceKernelSet::prepareAndStream, this);
    }
}

SpiceKernelSet::~SpiceKernelSet() {
    // The worker, joined after this, must not wait for records that will not come.
    if (stream_) stream_->abandon();
}

void SpiceKernelSet::prepareAndStream(void* context) {
    SpiceKernelSet& set = *static_cast<SpiceKernelSet*>(context);
    for (const ReservedRegion& region : set.reserved_) large_array_memory::populate(region.memory, region.bytes);
    if (set.stream_) set.stream_->run();
}

void SpiceKernelSet::handOver() {
    sinceHandover_ = 0;
    // Every segment and record left out is a comment line, composed again at each hand-over:
    // past this many the stream is not worth that.
    constexpr std::size_t kMostCommentLinesWhileStreaming = 1000;
    if (segments_.size() + leftOut_.size() > kMostCommentLinesWhileStreaming) {
        stopStream();
        return;
    }
    if (ticks_.empty()) return;
    const SpiceSegment* const open = open_.count > 0 ? &open_ : nullptr;
    estimate_.clear();
    composeComments(estimate_, open);
    // A lone record may still leave the arrays (a single-record stretch).
    const std::size_t stable = ticks_.size() - (open_.count == 1 ? 1 : 0);
    stream_->publish(stable, open != nullptr ? open_.first : KernelStream::kNoOpenStretch,
                     DafWriter::headerRecords(estimate_.text().size(), segments_.size() + (open != nullptr ? 1 : 0)));
}

void SpiceKernelSet::stopStream() {
    stream_->abandon();
    populator_.waitAndRethrow();
    streaming_ = false;
}

const std::string& SpiceKernelSet::error() const {
    if (!error_.empty()) return error_;
    return spkError_.empty() ? ckError_ : spkError_;
}

std::int32_t SpiceKernelSet::ckId() const { return ckIdFromSpacecraftId(settings_.spacecraftId); }

void SpiceKernelSet::leaveOut(const SpiceInputRecord& record, KernelLeftOutReason reason) {
    leftOut_.push_back(LeftOutRecord{record.recordNumber, record.tag, reason});
}

void SpiceKernelSet::add(const SpiceInputRecord& record) {
    ++recordsGiven_;
    if (streaming_) {
        // The stream reads the arrays where they are: they must not move under it.
        if (ticks_.size() == ticks_.capacity()) stopStream();
        else if (++sinceHandover_ >= settings_.recordsPerHandover) handOver();
    }
    if (anyExported_ && !(record.tag > lastExported_)) {
        leaveOut(record, KernelLeftOutReason::kRepeatedOrEarlierTag);
        return;
    }
    const auto& q = record.quaternion;
    if (!allFinite(record.position) || !allFinite(record.velocity) || !std::isfinite(q[0]) ||
        !std::isfinite(q[1]) || !std::isfinite(q[2]) || !std::isfinite(q[3])) {
        leaveOut(record, KernelLeftOutReason::kNotFinite);
        return;
    }
    const double norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    if (!std::isfinite(norm)) {
        leaveOut(record, KernelLeftOutReason::kNotFinite);
        return;
    }
    if (norm == 0.0) {
        leaveOut(record, KernelLeftOutReason::kZeroQuaternion);
        return;
    }
    if (anyExported_ && secondsBetween(lastExported_, record.tag) > kLongestStepInStretch) closeStretch();

    if (open_.count == 0) {
        open_.first = ticks_.size();
        openFirstRecordNumber_ = record.recordNumber;
    }
    ++open_.count;
    if ((record.qaFlags & kFillRecordFlag) != 0) ++open_.fillRecords;
    ticks_.push_back(clockTicksFromTag(record.tag));
    if (settings_.keepStates) {
        for (const double v : record.position) states_.push_back(v / kMetresPerKilometre);
        for (const double v : record.velocity) states_.push_back(v / kMetresPerKilometre);
    }
    if (settings_.keepAttitude) {
        // The conjugate with the scalar first: its C-matrix is the navigation matrix Q of the
        // normalised quaternion.
        quaternions_.push_back(q[3] / norm);
        quaternions_.push_back(-q[0] / norm);
        quaternions_.push_back(-q[1] / norm);
        quaternions_.push_back(-q[2] / norm);
    }
    lastExported_ = record.tag;
    anyExported_ = true;
}

void SpiceKernelSet::closeStretch() {
    if (open_.count == 1) {
        // A segment needs two states: the record goes back out of the arrays.
        leftOut_.push_back(LeftOutRecord{openFirstRecordNumber_, exportedTag(open_.first),
                                         KernelLeftOutReason::kSingleRecordStretch});
        ticks_.shrinkBy(1);
        if (settings_.keepStates) states_.shrinkBy(spk_type13::kWordsPerState);
        if (settings_.keepAttitude) quaternions_.shrinkBy(ck_type3::kWordsPerQuaternion);
    } else if (open_.count > 1) {
        segments_.push_back(open_);
        fillRecords_ += open_.fillRecords;
        if (streaming_) stream_->closeSegment(open_);
    }
    open_ = SpiceSegment{};
}

bool SpiceKernelSet::finish() {
    if (finished_) return ready_;
    finished_ = true;
    closeStretch();
    if (streaming_) stream_->end(ticks_.size());
    // A single-record stretch is named when the next stretch starts, after the records left
    // out behind it: put the list back in record order.
    std::stable_sort(leftOut_.begin(), leftOut_.end(),
                     [](const LeftOutRecord& a, const LeftOutRecord& b) { return a.recordNumber < b.recordNumber; });
    if (!spacecraftIdInRange(settings_.spacecraftId)) {
        error_ = "spacecraft ID " + std::to_string(settings_.spacecraftId) +
                 " is outside -1 to -2147483: give --naif-id with an ID in that range";
        return false;
    }
    if (segments_.empty()) {
        error_ = "no stretch of two or more records to make SPICE kernels of (" + std::to_string(recordsGiven_) +
                 " records, " + std::to_string(leftOut_.size()) +
                 " left out): a segment needs two records at most 60 s apart with increasing tags, finite "
                 "states and non-zero quaternions; use a packet file of a longer pass";
        return false;
    }
    comments_.reserve(kCommentBytesPerLine * (kFixedCommentLines + segments_.size() + leftOut_.size()));
    composeComments(comments_, nullptr);
    if (streaming_) {
        // What the stream has left to write, it writes meanwhile.
        populator_.waitAndRethrow();
        streaming_ = false;
    }
    if (settings_.keepStates) epochs_.resize(ticks_.size());
    if (stream_ && stream_->epochsComputed() == ticks_.size()) epochsPrepared_.store(ticks_.size());
    ready_ = true;
    return true;
}

void SpiceKernelSet::prepareEpochs(std::size_t part, std::size_t parts) {
    if (!ready_ || !settings_.keepStates || parts == 0 || part >= parts) return;
    const std::size_t count = epochs_.size();
    if (epochsPrepared_.load(std::memory_order_relaxed) == count) return;  // the stream computed them
    const std::size_t first = count / parts * part + std::min(part, count % parts);
    const std::size_t end = first + count / parts + (part < count % parts ? 1 : 0);
    ephemerisTimesFromClockTicks(ticks_.data(), epochs_.data(), first, end);
    epochsPrepared_.fetch_add(end - first, std::memory_order_relaxed);
}

TimeTag SpiceKernelSet::exportedTag(std::size_t index) const { return tagFromClockTicks(ticks_[index]); }

std::string SpiceKernelSet::internalFileName() const {
    std::string name = printableAscii(settings_.programName + " " + settings_.programVersion + " " +
                                      std::string(baseName(settings_.packetFileName)));
    if (name.size() > daf::file_record::kInternalNameLength) name.resize(daf::file_record::kInternalNameLength);
    return name;
}

void SpiceKernelSet::composeComments(CommentLines& out, const SpiceSegment* open) const {
    const std::size_t segmentCount = segments_.size() + (open != nullptr ? 1 : 0);
    const std::string id = std::to_string(settings_.spacecraftId);
    const TimeTag first = exportedTag(0);
    const TimeTag last = exportedTag(ticks_.size() - 1);
    std::string line;
    out.add(settings_.programName + " " + settings_.programVersion + ": SPICE kernels of one pass");
    out.add("packet file: " + settings_.packetFileName);
    out.add("spacecraft: " + bodyName_ + ", NAIF ID " + id + " (" + settings_.spacecraftIdSource + ")");
    out.add("bus frame: " + frameName_ + ", frame ID and CK ID " + std::to_string(ckId()) + ", clock (SCLK) ID " +
                  id);
    out.add("SPK: type 13, degree 3, centre 399 (Earth), frame J2000, km and km/s, epochs ET (TDB) of the tags");
    out.add("CK: type 3, frame J2000, no angular velocity, times in clock ticks of 0.1 us since "
                  "1958-01-01T00:00:00 TAI");
    out.add("clock strings 1/S.ttttttt: S seconds, ttttttt ticks; load LSK + SCLK + CK + FK + SPK");
    line = "span: ";
    appendClockString(line, first);
    line += " to ";
    appendClockString(line, last);
    out.add(line);
    line = "span (TAI): ";
    appendTaiCalendarText(line, first);
    line += " to ";
    appendTaiCalendarText(line, last);
    out.add(line);
    out.add("records exported: " + std::to_string(ticks_.size()) + ", fill records: " +
            std::to_string(fillRecords_ + (open != nullptr ? open->fillRecords : 0)) +
            ", segments: " + std::to_string(segmentCount) + ", records left out: " + std::to_string(leftOut_.size()));
    for (std::size_t k = 0; k < segmentCount; ++k) {
        const SpiceSegment& segment = k < segments_.size() ? segments_[k] : *open;
        line = "segment " + std::to_string(k + 1) + " of " + std::to_string(segmentCount) + ": ";
        appendClockString(line, exportedTag(segment.first));
        line += " to ";
        appendClockString(line, exportedTag(segment.first + segment.count - 1));
        line += ", " + std::to_string(segment.count) + " records, " + std::to_string(segment.fillRecords) +
                " fill records";
        out.add(line);
    }
    for (const LeftOutRecord& record : leftOut_) {
        line = "left out: record " + std::to_string(record.recordNumber) + " at ";
        appendClockString(line, record.tag);
        line += ": ";
        line += leftOutReasonText(record.reason);
        out.add(line);
    }
}

bool SpiceKernelSet::writeSpk(ByteSink& sink) {
    if (!ready_ || !settings_.keepStates) {
        if (ready_) spkError_ = "no SPK: the states were not kept";
        return false;
    }
    if (epochsPrepared_.load(std::memory_order_relaxed) != epochs_.size()) {
        epochsPrepared_.store(0, std::memory_order_relaxed);
        prepareEpochs(0, 1);
    }
    auto epochOf = [this](std::size_t index) { return epochs_[index]; };
    std::vector<DafArraySummary> arrays(segments_.size());
    for (std::size_t k = 0; k < segments_.size(); ++k) {
        const SpiceSegment& segment = segments_[k];
        DafArraySummary& array = arrays[k];
        array.times = {epochOf(segment.first), epochOf(segment.first + segment.count - 1)};
        array.identifiers = {settings_.spacecraftId, kEarthNaifId, kJ2000FrameId, spk_type13::kType};
        array.words = spk_type13::arrayWords(segment.count);
        array.setName(segmentName(k + 1, segments_.size()));
    }
    std::string streamError;
    switch (endStreamedKernel(sink, true, daf::kSpkIdWord, arrays, streamError)) {
        case StreamedKernel::kWritten: return true;
        case StreamedKernel::kFailed: spkError_ = "SPK: " + streamError; return false;
        case StreamedKernel::kNotStreamed: break;
    }
    DafWriter writer(sink);
    if (!writer.begin(daf::kSpkIdWord, internalFileName(), comments_.text(), arrays)) {
        spkError_ = "SPK: " + writer.error();
        return false;
    }
    for (const SpiceSegment& segment : segments_) {
        spk_type13::writeArray(writer, states_.data() + spk_type13::kWordsPerState * segment.first, segment.count,
                               spk_type13::kWindowSize,
                               [&](std::size_t i) { return epochOf(segment.first + i); });
    }
    if (!writer.finish()) {
        spkError_ = "SPK: " + writer.error();
        return false;
    }
    return true;
}

bool SpiceKernelSet::writeCk(ByteSink& sink) {
    if (!ready_ || !settings_.keepAttitude) {
        if (ready_) ckError_ = "no CK: the quaternions were not kept";
        return false;
    }
    auto timeOf = [this](std::size_t index) { return static_cast<double>(ticks_[index]); };
    std::vector<DafArraySummary> arrays(segments_.size());
    for (std::size_t k = 0; k < segments_.size(); ++k) {
        const SpiceSegment& segment = segments_[k];
        DafArraySummary& array = arrays[k];
        array.times = {timeOf(segment.first), timeOf(segment.first + segment.count - 1)};
        array.identifiers = {ckId(), kJ2000FrameId, ck_type3::kType, ck_type3::kNoAngularVelocity};
        array.words = ck_type3::arrayWordsOneInterval(segment.count);
        array.setName(segmentName(k + 1, segments_.size()));
    }
    std::string streamError;
    switch (endStreamedKernel(sink, false, daf::kCkIdWord, arrays, streamError)) {
        case StreamedKernel::kWritten: return true;
        case StreamedKernel::kFailed: ckError_ = "CK: " + streamError; return false;
        case StreamedKernel::kNotStreamed: break;
    }
    DafWriter writer(sink);
    if (!writer.begin(daf::kCkIdWord, internalFileName(), comments_.text(), arrays)) {
        ckError_ = "CK: " + writer.error();
        return false;
    }
    for (const SpiceSegment& segment : segments_) {
        ck_type3::writeArrayOneInterval(writer, quaternions_.data() + ck_type3::kWordsPerQuaternion * segment.first,
                                        segment.count, [&](std::size_t i) { return timeOf(segment.first + i); });
    }
    if (!writer.finish()) {
        ckError_ = "CK: " + writer.error();
        return false;
    }
    return true;
}

SpiceKernelSet::StreamedKernel SpiceKernelSet::endStreamedKernel(ByteSink& sink, bool spk, std::string_view idWord,
                                                                 const std::vector<DafArraySummary>& arrays,
                                                                 std::string& error) {
    if (!stream_ || &sink != (spk ? streamSinks_.spk : streamSinks_.ck)) return StreamedKernel::kNotStreamed;
    const bool whole = spk ? stream_->wroteSpk() : stream_->wroteCk();
    if (whole && stream_->headerRecords() == DafWriter::headerRecords(comments_.text().size(), arrays.size())) {
        DafWriter& writer = spk ? stream_->spkWriter() : stream_->ckWriter();
        if (writer.finishWithHeader(idWord, internalFileName(), comments_.text(), arrays)) return StreamedKernel::kWritten;
        error = writer.error();
        return StreamedKernel::kFailed;
    }
    // The arrays were placed for another header, or not all written: the kernel is written anew.
    if (stream_->headerRecords() != 0) sink.startOver();
    return StreamedKernel::kNotStreamed;
}

void SpiceKernelSet::writeSclk(ByteSink& sink) const {
    if (!ready_) return;
    const std::string text = sclkKernelText(settings_.spacecraftId, comments_.text());
    sink.write(text.data(), text.size());
}

void SpiceKernelSet::writeFk(ByteSink& sink) const {
    if (!ready_) return;
    const std::string text = frameKernelText(settings_.spacecraftId, bodyName_, frameName_, comments_.text());
    sink.write(text.data(), text.size());
}

}  // namespace kova
