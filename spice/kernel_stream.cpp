#include "spice/kernel_stream.h"

#include <algorithm>

#include "spice/ck_type3.h"
#include "spice/ephemeris_time.h"
#include "spice/spk_type13.h"

namespace kova {

KernelStream::KernelStream(HeldRecords held, ByteSink* spk, ByteSink* ck) : held_(held) {
    if (spk != nullptr) spk_ = std::make_unique<DafWriter>(*spk);
    if (ck != nullptr) ck_ = std::make_unique<DafWriter>(*ck);
}

void KernelStream::publish(std::size_t stable, std::size_t openFirst, std::uint64_t headerRecords) {
    {
        const std::lock_guard lock(mutex_);
        published_.stable = std::max(published_.stable, stable);
        published_.openFirst = openFirst;
        published_.headerRecords = headerRecords;
        ++publications_;
    }
    changed_.notify_one();
}

void KernelStream::closeSegment(const SpiceSegment& segment) {
    const std::lock_guard lock(mutex_);
    closed_.push_back(segment);
    // A closed segment's records are all final, whatever was published last; the stretch
    // published as open was this one, and the next one is not known before the next publish.
    published_.stable = std::max(published_.stable, segment.first + segment.count);
    published_.openFirst = kNoOpenStretch;
}

void KernelStream::end(std::size_t records) {
    {
        const std::lock_guard lock(mutex_);
        published_.stable = records;
        published_.openFirst = kNoOpenStretch;
        published_.ended = true;
        ++publications_;
    }
    changed_.notify_one();
}

void KernelStream::abandon() {
    {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    changed_.notify_one();
}

void KernelStream::run() {
    std::uint64_t seen = 0;
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return abandoned_ || publications_ != seen; });
        if (abandoned_) return;
        seen = publications_;
        const Progress progress = published_;
        segments_.insert(segments_.end(), closed_.begin() + static_cast<std::ptrdiff_t>(segments_.size()),
                         closed_.end());
        lock.unlock();
        // The writing, without the lock: the owner goes on adding records meanwhile. An
        // abandon() that comes during it takes effect at the next round.
        if (!advance(progress)) return;
        if (progress.ended) {
            whole_ = true;
            return;
        }
        lock.lock();
    }
}

bool KernelStream::advance(const Progress& progress) {
    if (progress.headerRecords != headerRecords_ && !progress.ended) {
        // Room for another number of header records: the files start over with it.
        if (headerRecords_ != 0 && ++restarts_ > kMostRestarts) return false;
        headerRecords_ = progress.headerRecords;
        if (spk_) spk_->beginBody(headerRecords_);
        if (ck_) ck_->beginBody(headerRecords_);
        spkCursor_ = Cursor{};
        ckCursor_ = Cursor{};
    }
    if (headerRecords_ == 0) return false;  // ended before any guess: nothing streamed
    if (spk_) {
        if (epochsComputed_ < progress.stable) {
            ephemerisTimesFromClockTicks(held_.ticks, held_.epochs, epochsComputed_, progress.stable);
            epochsComputed_ = progress.stable;
        }
        advanceSpk(progress);
    }
    if (ck_) advanceCk(progress);
    // A sink that failed keeps its reason for the set's commit; writing on is no use.
    return !(spk_ && spk_->sinkFailed()) && !(ck_ && ck_->sinkFailed());
}

template <typename WriteRest>
void KernelStream::advanceFile(DafWriter& writer, Cursor& at, const double* values, std::size_t wordsPerRecord,
                               const Progress& progress, WriteRest&& writeRest) {
    for (;;) {
        const bool closed = at.segment < segments_.size();
        if (!closed && progress.openFirst == kNoOpenStretch) return;
        const std::size_t first = closed ? segments_[at.segment].first : progress.openFirst;
        const std::size_t end = closed ? first + segments_[at.segment].count : std::max(progress.stable, first);
        if (first + at.done < end) {
            writer.putWords(values + wordsPerRecord * (first + at.done), wordsPerRecord * (end - first - at.done));
            at.done = end - first;
        }
        if (!closed) return;
        writeRest(first, at.done);
        at = Cursor{at.segment + 1, 0};
    }
}

void KernelStream::advanceSpk(const Progress& progress) {
    advanceFile(*spk_, spkCursor_, held_.states, spk_type13::kWordsPerState, progress,
                [this](std::size_t first, std::size_t count) {
                    spk_type13::writeAfterStates(*spk_, count, spk_type13::kWindowSize,
                                                 [&](std::size_t i) { return held_.epochs[first + i]; });
                });
}

void KernelStream::advanceCk(const Progress& progress) {
    advanceFile(*ck_, ckCursor_, held_.quaternions, ck_type3::kWordsPerQuaternion, progress,
                [this](std::size_t first, std::size_t count) {
                    ck_type3::writeAfterQuaternionsOneInterval(
                        *ck_, count, [&](std::size_t i) { return static_cast<double>(held_.ticks[first + i]); });
                });
}

}  // namespace kova
