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

RecordChoice RecordSelector::choose(const ExportRecord& record) {
    RecordChoice choice;
    if ((record.qaFlags & flagBit(qa_flags::kLgb)) != 0) segmentEndPending_ = true;
    choice.hasEpoch = kvn::microsecondsSince1993(record.tai93Seconds, choice.microseconds);
    const bool usable = kind_ == MessageKind::kOem ? stateIsFinite(record)
                                                   : unitQuaternion(record.quaternion, choice.unitQuaternion);
    if (!choice.hasEpoch) {
        choice.reason = LeftOutReason::kTimeNotWritable;
    } else if (!usable) {
        choice.reason = kind_ == MessageKind::kOem ? LeftOutReason::kStateNotFinite : LeftOutReason::kNoAttitude;
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
    const RecordChoice choice = selector_.choose(record);
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
