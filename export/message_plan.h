#pragma once
// Which records of a pass go into a message and how they fall into segments. The same
// choice is made twice, with the same rules: once over the whole pass to plan the segments
// (their first and last epochs, record counts and comment notes, which the metadata block
// of a segment needs before its first data line), then again while the lines are written.
//
// Rules, for each record in kova's order:
// - a record whose time has no epoch text (not finite, or a date outside the years 0000 to
//   9999), whose values are unusable (OEM: position or velocity not finite; AEM: quaternion
//   of zero norm or not finite), or whose epoch, to the microsecond, does not come after
//   the last exported one (a duplicate or a backward step) is left out;
// - a lone record whose time lies beyond its neighbours is left out, so that one corrupt time
//   tag costs one record and not every record up to that time: a record whose epoch is later
//   than the epochs of the two records after it (in kova's order), when those two increase
//   and the first of them comes after the last exported epoch (or nothing is exported yet).
//   Where the order alone cannot tell which record is wrong (a record later only than the next
//   one) the earlier record is kept, as before. A record left out this way is named like any
//   other; the long-gap flags kova set around it still end the segment;
// - a long gap (flag lgf on the record before it, lgb on the record after it) ends a segment:
//   the next exported record opens a new one;
// - a run of exported fill records (flag rep) is one "filled" note of its segment; a record
//   left out is a note of the segment of the next exported record (of the last segment when
//   none follows).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "export/export_record.h"

namespace kova {

enum class MessageKind { kOem, kAem };

enum class LeftOutReason : std::uint8_t {
    kTimeNotWritable,    // time not finite, or its date outside the years 0000 to 9999
    kTimeNotIncreasing,  // epoch not after the last exported one: duplicate or backward step
    kTimeBeyondNeighbours,  // epoch later than the records on either side, which are in order
    kStateNotFinite,     // OEM: a position or velocity component not finite
    kNoAttitude,         // AEM: quaternion of zero norm or with a component not finite
};

// q / |q|, scaled first by the largest component so that neither tiny nor huge components
// over- or underflow. False (and `unit` unspecified) for a zero or non-finite quaternion.
bool unitQuaternion(const std::array<double, 4>& q, std::array<double, 4>& unit);

struct RecordChoice {
    bool exported = false;
    bool opensSegment = false;  // the first exported record of a segment
    bool hasEpoch = false;      // `microseconds` holds the record's epoch
    std::int64_t microseconds = 0;  // since 1993-01-01T00:00:00 TAI
    LeftOutReason reason = LeftOutReason::kTimeNotWritable;  // when not exported
    std::array<double, 4> unitQuaternion{};  // AEM, exported: q / |q|
};

class RecordSelector {
public:
    // `beyondNeighbours`, when given: the numbers (from 0, in the order offered, increasing)
    // of the records to leave out as lying beyond their neighbours (MessagePlan finds them).
    explicit RecordSelector(MessageKind kind, const std::vector<std::uint64_t>* beyondNeighbours = nullptr)
        : kind_(kind), beyondNeighbours_(beyondNeighbours) {}
    RecordChoice choose(const ExportRecord& record);
    // The same, told whether the record lies beyond its neighbours.
    RecordChoice choose(const ExportRecord& record, bool beyondNeighbours);

    bool exportedAny() const { return exportedAny_; }
    std::int64_t lastExportedMicroseconds() const { return lastMicroseconds_; }

private:
    bool nextIsBeyondNeighbours();

    MessageKind kind_;
    const std::vector<std::uint64_t>* beyondNeighbours_;
    std::uint64_t offered_ = 0;          // records chosen so far
    std::size_t nextBeyondNeighbours_ = 0;
    bool exportedAny_ = false;
    bool segmentEndPending_ = false;
    std::int64_t lastMicroseconds_ = 0;
};

struct PlanNote {
    enum class Kind : std::uint8_t { kFilled, kLeftOut };
    Kind kind = Kind::kFilled;
    LeftOutReason reason = LeftOutReason::kTimeNotWritable;  // kLeftOut only
    bool hasEpoch = true;                                     // kLeftOut: firstMicroseconds is set
    std::uint64_t recordIndex = 0;      // kLeftOut: the record's number, from 0 in kova's order
    std::int64_t firstMicroseconds = 0;
    std::int64_t lastMicroseconds = 0;  // kFilled: epoch of the run's last record
};

struct PlannedSegment {
    std::int64_t firstMicroseconds = 0;
    std::int64_t lastMicroseconds = 0;
    std::uint64_t recordCount = 0;
    std::size_t firstNote = 0;
    std::size_t noteCount = 0;
};

class MessagePlan {
public:
    explicit MessagePlan(MessageKind kind) : kind_(kind), selector_(kind) {}

    // Offers the records in kova's order, numbered from 0; then finish(). A record is placed
    // once the two after it have been offered (or at finish).
    void add(const ExportRecord& record, std::uint64_t recordIndex);
    void finish();

    MessageKind kind() const { return kind_; }
    // A selector for the writing pass that makes the same choices as this plan (it refers to
    // the plan, which must outlive it).
    RecordSelector selector() const { return RecordSelector(kind_, &beyondNeighbours_); }
    const std::vector<PlannedSegment>& segments() const { return segments_; }
    std::span<const PlanNote> notesOf(const PlannedSegment& segment) const {
        return std::span<const PlanNote>(notes_).subspan(segment.firstNote, segment.noteCount);
    }
    std::uint64_t exportedCount() const { return exported_; }
    std::uint64_t leftOutCount() const { return leftOut_; }

private:
    // A record offered but not yet placed, with its epoch.
    struct HeldRecord {
        ExportRecord record;
        std::uint64_t recordIndex = 0;
        bool hasEpoch = false;
        std::int64_t microseconds = 0;
    };
    static constexpr std::size_t kHeldRecords = 3;  // the record to place and the two after it

    void placeFirstHeld();
    void place(const ExportRecord& record, std::uint64_t recordIndex, bool beyondNeighbours);
    void addNoteToLastSegment(const PlanNote& note);

    MessageKind kind_;
    std::vector<std::uint64_t> beyondNeighbours_;
    std::uint64_t offered_ = 0;
    std::array<HeldRecord, kHeldRecords> held_{};
    std::size_t heldCount_ = 0;
    RecordSelector selector_;
    std::vector<PlannedSegment> segments_;
    std::vector<PlanNote> notes_;
    std::vector<PlanNote> pending_;  // left out before the next exported record
    bool fillRunOpen_ = false;
    std::size_t openFillNote_ = 0;
    std::uint64_t exported_ = 0;
    std::uint64_t leftOut_ = 0;
};

}  // namespace kova
