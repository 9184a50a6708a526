#pragma once
// The SPK's and the CK's arrays written while the pass still gives records, on a thread of
// their own: when the last record comes, most of the kernels' bytes are in the files and
// mostly synced, instead of all of them still to write and sync.
//
// An array's words do not depend on where it starts, but the records before the arrays (the
// comments and summaries) need every record, and their number sets where the arrays start.
// So the stream writes behind room for a guessed number of them (DafWriter::beginBody), the
// guess its owner makes from the comments as they would be if the pass ended then. A guess
// that changes starts the files over (a few times at most, then the stream stops); one that
// is wrong at the end makes the kernel set write the files anew, as without a stream.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "core/byte_sink.h"
#include "spice/daf_writer.h"

namespace kova {

// A stretch that became a segment: its records are [first, first + count) of the exported ones.
struct SpiceSegment {
    std::size_t first = 0;
    std::size_t count = 0;
    std::uint64_t fillRecords = 0;
};

// The exported records as the kernel set holds them, in arrays that do not move while a
// stream reads them: clock ticks; states, 6 words each (null when no SPK is streamed);
// quaternions, 4 words each (null when no CK is streamed); and room for the SPK's epochs,
// which the stream computes (null when no SPK is streamed).
struct HeldRecords {
    const std::int64_t* ticks = nullptr;
    const double* states = nullptr;
    const double* quaternions = nullptr;
    double* epochs = nullptr;
};

class KernelStream {
public:
    static constexpr std::size_t kNoOpenStretch = static_cast<std::size_t>(-1);
    // Guesses that may change before the stream stops: each change writes the files again
    // from their start.
    static constexpr int kMostRestarts = 2;

    // `spk` and `ck`: sinks that can rewrite (ByteSink::canRewrite), either may be null.
    KernelStream(HeldRecords held, ByteSink* spk, ByteSink* ck);
    KernelStream(const KernelStream&) = delete;
    KernelStream& operator=(const KernelStream&) = delete;

    // Called by the thread that adds the records.
    // Records [0, stable) will not change any more; the stretch being built begins at
    // `openFirst` (kNoOpenStretch: none); the files' first records are expected to take
    // `headerRecords` records.
    void publish(std::size_t stable, std::size_t openFirst, std::uint64_t headerRecords);
    // A stretch became a segment.
    void closeSegment(const SpiceSegment& segment);
    // No more records (`records` exported in all): run() writes what is left and returns.
    void end(std::size_t records);
    // run() returns once the round of writing under way (if any) is done; no later round
    // writes.
    void abandon();

    // The stream's own thread: writes as the owner publishes, until end() or abandon().
    void run();

    // After run() returned and its thread was joined.
    // True when every array of the segments closed before end() went to the kernel's writer
    // (the sink, and the writer's buffer), behind headerRecords() records of room; the writer
    // then ends the file
    // (DafWriter::finishWithHeader). False when the sink was not streamed to or the stream
    // stopped; a sink with bytes in it then needs ByteSink::startOver().
    bool wroteSpk() const { return whole_ && spk_ != nullptr; }
    bool wroteCk() const { return whole_ && ck_ != nullptr; }
    DafWriter& spkWriter() { return *spk_; }
    DafWriter& ckWriter() { return *ck_; }
    // The room left for the header: 0 when no byte went to the sinks.
    std::uint64_t headerRecords() const { return headerRecords_; }
    // Epochs [0, epochsComputed()) are in HeldRecords::epochs.
    std::size_t epochsComputed() const { return epochsComputed_; }

private:
    // Where the writing of one file's arrays is: segment `segment`, `done` of its records.
    struct Cursor {
        std::size_t segment = 0;
        std::size_t done = 0;
    };
    // What the owner published, as the stream's thread took it.
    struct Progress {
        std::size_t stable = 0;
        std::size_t openFirst = kNoOpenStretch;
        std::uint64_t headerRecords = 0;
        bool ended = false;
    };

    // Writes what `progress` allows; false when the stream must stop.
    bool advance(const Progress& progress);
    void advanceSpk(const Progress& progress);
    void advanceCk(const Progress& progress);
    // One file's arrays: the held values of each segment (`wordsPerRecord` words a record) as
    // far as they are final, and once a segment is closed, writeRest(first, count) for the
    // words after them.
    template <typename WriteRest>
    void advanceFile(DafWriter& writer, Cursor& at, const double* values, std::size_t wordsPerRecord,
                     const Progress& progress, WriteRest&& writeRest);

    HeldRecords held_;
    std::unique_ptr<DafWriter> spk_;
    std::unique_ptr<DafWriter> ck_;

    std::mutex mutex_;
    std::condition_variable changed_;
    Progress published_;                 // under mutex_
    std::uint64_t publications_ = 0;     // under mutex_
    std::vector<SpiceSegment> closed_;   // under mutex_
    bool abandoned_ = false;             // under mutex_

    // The stream's thread only (read by the owner after the join).
    std::vector<SpiceSegment> segments_;  // the closed segments taken so far
    Cursor spkCursor_;
    Cursor ckCursor_;
    std::uint64_t headerRecords_ = 0;     // the room left now (0: nothing written yet)
    int restarts_ = 0;
    std::size_t epochsComputed_ = 0;
    bool whole_ = false;
};

}  // namespace kova
