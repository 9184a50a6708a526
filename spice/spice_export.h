#pragma once
// The SPICE kernels of one pass, from kova's records taken one at a time: an SPK (type 13,
// the spacecraft relative to Earth in J2000), a CK (type 3, the bus attitude), the clock
// kernel that reads the CK's times and a frame kernel that names the spacecraft and its bus
// frame. Each kernel is optional and goes to its own sink.
//
// Which records go in: a record is exported when its tag is later than the last exported tag,
// its six state values are finite and its quaternion has finite components and a finite,
// non-zero norm. Consecutive exported records form a stretch while each step is at most
// 60.0 s; a longer step starts the next stretch. A stretch of one record is left out too;
// every other stretch is one SPK segment and one CK segment. Every record left out is named,
// with its reason, in the kernels' comments.
//
// Memory: the exported records are held until the end (the kernels' summaries and comments,
// which come first in the files, depend on all of them): 8 bytes of clock ticks, 48 of state
// and 8 of epoch (when the SPK is wanted) and 32 of quaternion (when the CK is wanted) per
// record, in arrays reserved from the count hint (LargeArray: mapped memory, large pages where
// offered); 32 bytes per record left out.
//
// Given sinks that can rewrite, the set writes the SPK's and the CK's arrays while the records
// still come (kernel_stream.h), and at the end only what is left and the files' first records.
// The files are the same bytes either way.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/background_worker.h"
#include "core/byte_sink.h"
#include "spice/comment_lines.h"
#include "spice/kernel_stream.h"
#include "spice/large_array.h"
#include "time/time_tag.h"

namespace kova {

// The qa flag of a fill record (one interpolated into a short gap).
inline constexpr std::uint32_t kFillRecordFlag = 1u << 5;
// The longest step between two records of one stretch; a longer one is a long gap.
inline constexpr double kLongestStepInStretch = 60.0;  // s

// One record as kova writes it, with its exact tag.
struct SpiceInputRecord {
    std::uint64_t recordNumber = 0;     // counted from 0 in the order kova writes the records
    TimeTag tag;
    std::array<double, 3> position{};   // m, J2000
    std::array<double, 3> velocity{};   // m/s
    std::array<double, 4> quaternion{}; // q1, q2, q3, q4 (scalar last): v_body = Q(q) v_J2000
    std::uint32_t qaFlags = 0;          // kFillRecordFlag marks a fill record
};

enum class KernelLeftOutReason : std::uint8_t { kRepeatedOrEarlierTag, kNotFinite, kZeroQuaternion, kSingleRecordStretch };
const char* leftOutReasonText(KernelLeftOutReason reason);

struct SpiceKernelSettings {
    std::int32_t spacecraftId = 0;   // -1 down to -2147483
    std::string spacecraftIdSource;  // for the comments, e.g. spacecraftIdFromNoradSource(n)
    std::string bodyName;            // as given; the kernels carry normalisedBodyName of it
    std::string programName = "kovaexport";
    std::string programVersion;
    std::string packetFileName;      // as given on the command line
    bool keepStates = true;          // false when no SPK is wanted (saves 48 bytes a record)
    bool keepAttitude = true;        // false when no CK is wanted (saves 32 bytes a record)
    // With sinks to stream to: the records added between two hand-overs to the stream.
    std::size_t recordsPerHandover = 16384;
};

// Where the SPK and the CK go while the records come: sinks that can rewrite (others, and
// null, are written at the end only).
struct KernelStreamSinks {
    ByteSink* spk = nullptr;
    ByteSink* ck = nullptr;
};

struct LeftOutRecord {
    std::uint64_t recordNumber = 0;
    TimeTag tag;
    KernelLeftOutReason reason = KernelLeftOutReason::kNotFinite;
};

class SpiceKernelSet {
public:
    // `recordCountHint`: the number of records expected (0 if unknown), to reserve the arrays;
    // their memory is prepared on a second thread while the records come. With a hint and
    // `streamTo` sinks, that thread then writes the kernels there as the records come; the
    // write calls below must then be given the same sinks. The stream stops (the kernels are
    // written at the end) when the records outgrow the hint or their comments grow long.
    SpiceKernelSet(SpiceKernelSettings settings, std::size_t recordCountHint, KernelStreamSinks streamTo = {});
    SpiceKernelSet(const SpiceKernelSet&) = delete;
    SpiceKernelSet& operator=(const SpiceKernelSet&) = delete;
    ~SpiceKernelSet();

    // The next record of the pass. No allocation while the count hint holds.
    void add(const SpiceInputRecord& record);

    // After the last record: ends the last stretch and composes the comments (and waits for
    // the stream, if any, to write what is left). False when there is nothing to write (no
    // stretch of two records, or a spacecraft ID out of range); error() then says why and what
    // to do. The write calls below need a successful finish().
    bool finish();

    // Each writes one whole kernel to its sink, after a successful finish() (otherwise nothing);
    // a sink streamed to gets what is left, or, when the stream could not place the arrays
    // right, starts over and gets the whole kernel.
    // writeSpk and writeCk return false (error() says why) when the records were not kept for
    // them or the file would be too large for a DAF. None of them changes what another reads,
    // so the four may run at once on different threads, each with its own sink.
    bool writeSpk(ByteSink& sink);
    // The SPK's epochs (the ephemeris time of every exported record: two sines each) computed
    // ahead, after a successful finish(): slice `part` of `parts` equal slices. The slices may
    // be computed at once on different threads; writeSpk computes the epochs itself unless
    // every slice was computed (and the threads joined) before it.
    void prepareEpochs(std::size_t part, std::size_t parts);
    bool writeCk(ByteSink& sink);
    void writeSclk(ByteSink& sink) const;
    void writeFk(ByteSink& sink) const;

    // Why finish() or a write call returned false (finish's reason, else the SPK's, else the
    // CK's).
    const std::string& error() const;
    const std::string& bodyName() const { return bodyName_; }
    const std::string& frameName() const { return frameName_; }
    std::int32_t spacecraftId() const { return settings_.spacecraftId; }
    std::int32_t ckId() const;
    std::size_t exportedRecords() const { return ticks_.size(); }
    std::uint64_t fillRecords() const { return fillRecords_; }
    const std::vector<SpiceSegment>& segments() const { return segments_; }
    // In record order once finish() ran.
    const std::vector<LeftOutRecord>& leftOut() const { return leftOut_; }
    // The provenance lines of every kernel, each ending in '\n'.
    const std::string& comments() const { return comments_.text(); }
    std::string internalFileName() const;
    TimeTag exportedTag(std::size_t index) const;

private:
    void closeStretch();
    void leaveOut(const SpiceInputRecord& record, KernelLeftOutReason reason);
    // The comments into `out`; with `open`, the stretch being built counts as the last segment
    // (the comments as they would be if the pass ended now).
    void composeComments(CommentLines& out, const SpiceSegment* open) const;
    // Hands the records so far to the stream, with the number of header records the kernels
    // would have if the pass ended now.
    void handOver();
    // Stops the stream for good; the kernels are written at the end.
    void stopStream();
    static void prepareAndStream(void* set);
    enum class StreamedKernel { kNotStreamed, kWritten, kFailed };
    // Ends the kernel whose arrays the stream wrote to `sink`, if it did (`spk`: the SPK, else
    // the CK): the header over the room left for it. kNotStreamed when the stream did not
    // write the kernel whole and right (the sink, started over, is empty then); kFailed with
    // `error` set.
    StreamedKernel endStreamedKernel(ByteSink& sink, bool spk, std::string_view idWord,
                                     const std::vector<DafArraySummary>& arrays, std::string& error);

    SpiceKernelSettings settings_;
    std::string bodyName_;
    std::string frameName_;
    LargeArray<std::int64_t> ticks_;        // clock ticks of each exported record
    LargeArray<double> states_;             // 6 per exported record, km and km/s
    LargeArray<double> quaternions_;        // 4 per exported record, scalar first, unit
    LargeArray<double> epochs_;             // the SPK's epochs, sized once finished
    std::atomic<std::size_t> epochsPrepared_{0};  // epochs computed ahead by prepareEpochs
    std::vector<SpiceSegment> segments_;
    std::vector<LeftOutRecord> leftOut_;
    SpiceSegment open_;                     // the stretch being built (count 0: none)
    std::uint64_t openFirstRecordNumber_ = 0;
    TimeTag lastExported_;
    bool anyExported_ = false;
    bool finished_ = false;
    bool ready_ = false;  // finish() succeeded: the kernels can be written
    std::uint64_t fillRecords_ = 0;
    std::uint64_t recordsGiven_ = 0;
    CommentLines comments_;
    CommentLines estimate_;  // the comments if the pass ended now, for the stream's room
    std::string error_;
    std::string spkError_;  // apart from ckError_: the SPK and the CK may be written at once
    std::string ckError_;

    // The reserved arrays, populated by the worker while the records come in, which then runs
    // the stream; the worker is last, so it is joined before the arrays and the stream go.
    struct ReservedRegion {
        void* memory = nullptr;
        std::size_t bytes = 0;
    };
    std::array<ReservedRegion, 4> reserved_{};
    std::unique_ptr<KernelStream> stream_;  // while the records come, given sinks and a hint
    bool streaming_ = false;                // records still go to stream_
    std::size_t sinceHandover_ = 0;
    KernelStreamSinks streamSinks_;
    BackgroundWorker populator_;
};

}  // namespace kova
