#include "export/message_plan.h"

#include <algorithm>
#include <cmath>

#include "export/kvn_text.h"
#include "toolkit/layout.h"

namespace kova {

namespace {

constexpr std::uint16_t flagBit(unsigned bit) { return static_cast<std::uint16_t>(1u << bit); }

bool stateIsFinite(const ExportRecord& record) {
    for (std::size_t i = 0; i < 3; ++i) {
        if (!std::isfinite(record.position[i]) || !std::isfinite(record.velocity[i])) return false;
    }
    return true;
}

}  // namespace

bool unitQuaternion(const std::array<double, 4>& q, std::array<double, 4>& unit) {
    double largest = 0.0;
    for (double component : q) {
        if (!std::isfinite(component)) return false;
        largest = std::max(largest, std::fabs(component));
    }
    if (largest == 0.0) return false;
    double sum = 0.0;
    for (std::size_t i = 0; i < 4; ++i) {
        unit[i] = q[i] / largest;
        sum += unit[i] * unit[i];
    }
    const double norm = std::sqrt(sum);
    for (double& component : unit) component /= norm;
    return true;
}

bool RecordSelector::nextIsBeyondNeighbours() {
    const std::uint64_t number = offered_++;
    if (beyondNeighbours_ == nullptr || nextBeyondNeighbours_ >= beyondNeighbours_->size()) return false;
    if ((*beyondNeighbours_)[nextBeyondNeighbours_] != number) return false;
    ++nextBeyondNeighbours_;
    return true;
}

RecordChoice RecordSelector::choose(const ExportRecord& record) {
    return choose(record, nextIsBeyondNeighbours());
}

RecordChoice RecordSelector::choose(const ExportRecord& record, bool beyondNeighbours) {
    RecordChoice choice;
    if ((record.qaFlags & flagBit(qa_flags::kLgb)) != 0) segmentEndPending_ = true;
    choice.hasEpoch = kvn::microsecondsSince1993(record.tai93Seconds, choice.microseconds);
    const bool usable = kind_ == MessageKind::kOem ? stateIsFinite(record)
                                                   : unitQuaternion(record.quaternion, choice.unitQuaternion);
    if (!choice.hasEpoch) {
        choice.reason = LeftOutReason::kTimeNotWritable;
    } else if (!usable) {
        choice.reason = kind_ == MessageKind::kOem ? LeftOutReason::kStateNotFinite : LeftOutReason::kNoAttitude;
    } else if (beyondNeighbours) {
        choice.reason = LeftOutReason::kTimeBeyondNeighbours;
    } else if (exportedAny_ && choice.microseconds <= lastMicroseconds_) {
        choice.reason = LeftOutReason::kTimeNotIncreasing;
    } else {
        choice.exported = true;
        choice.opensSegment = !exportedAny_ || segmentEndPending_;
        segmentEndPending_ = false;
        exportedAny_ = true;
        lastMicroseconds_ = choice.microseconds;
    }
    if ((record.qaFlags & flagBit(qa_flags::kLgf)) != 0) segmentEndPending_ = true;
    return choice;
}

void MessagePlan::add(const ExportRecord& record, std::uint64_t recordIndex) {
    HeldRecord& held = held_[heldCount_++];
    held.record = record;
    held.recordIndex = recordIndex;
    held.hasEpoch = kvn::microsecondsSince1993(record.tai93Seconds, held.microseconds);
    if (heldCount_ == kHeldRecords) placeFirstHeld();
}

void MessagePlan::placeFirstHeld() {
    // Whether the first held record lies beyond its neighbours (see the header): the next two
    // records are in order, both come before it and after the last exported one.
    const HeldRecord& first = held_[0];
    bool beyond = false;
    if (heldCount_ == kHeldRecords && first.hasEpoch && held_[1].hasEpoch && held_[2].hasEpoch) {
        const std::int64_t next = held_[1].microseconds;
        const std::int64_t afterNext = held_[2].microseconds;
        beyond = next < afterNext && afterNext < first.microseconds &&
                 (!selector_.exportedAny() || next > selector_.lastExportedMicroseconds());
    }
    if (beyond) beyondNeighbours_.push_back(offered_);
    ++offered_;
    place(first.record, first.recordIndex, beyond);
    for (std::size_t i = 1; i < heldCount_; ++i) held_[i - 1] = held_[i];
    --heldCount_;
}

void MessagePlan::place(const ExportRecord& record, std::uint64_t recordIndex, bool beyondNeighbours) {
    const RecordChoice choice = selector_.choose(record, beyondNeighbours);
    if (!choice.exported) {
        PlanNote note;
        note.kind = PlanNote::Kind::kLeftOut;
        note.reason = choice.reason;
        note.hasEpoch = choice.hasEpoch;
        note.recordIndex = recordIndex;
        note.firstMicroseconds = note.lastMicroseconds = choice.microseconds;
        pending_.push_back(note);
        ++leftOut_;
        return;
    }
    if (choice.opensSegment) {
        fillRunOpen_ = false;
        PlannedSegment segment;
        segment.firstMicroseconds = choice.microseconds;
        segment.firstNote = notes_.size();
        segments_.push_back(segment);
    }
    for (const PlanNote& note : pending_) addNoteToLastSegment(note);
    pending_.clear();

    PlannedSegment& segment = segments_.back();
    segment.lastMicroseconds = choice.microseconds;
    ++segment.recordCount;
    ++exported_;
    if ((record.qaFlags & flagBit(qa_flags::kRep)) == 0) {
        fillRunOpen_ = false;
    } else if (fillRunOpen_) {
        notes_[openFillNote_].lastMicroseconds = choice.microseconds;
    } else {
        PlanNote note;
        note.firstMicroseconds = note.lastMicroseconds = choice.microseconds;
        openFillNote_ = notes_.size();
        fillRunOpen_ = true;
        addNoteToLastSegment(note);
    }
}

void MessagePlan::finish() {
    while (heldCount_ > 0) placeFirstHeld();
    if (!segments_.empty()) {
        for (const PlanNote& note : pending_) addNoteToLastSegment(note);
        pending_.clear();
    }
    fillRunOpen_ = false;
}

void MessagePlan::addNoteToLastSegment(const PlanNote& note) {
    notes_.push_back(note);
    ++segments_.back().noteCount;
}

}  // namespace kova
