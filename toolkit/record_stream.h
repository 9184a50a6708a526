#pragma once
// The record stream between the packet file and the writers: it reads the navigation
// packets in file order through a window of seven decoded records, hands them out one at
// a time, flags the records on either side of a gap, and fills gaps of more than 1.1 s and
// at most 60 s with records at one-second steps interpolated from the window.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "orbit/revolution_cutter.h"
#include "orbit/sat_pass.h"
#include "packets/nav_record.h"
#include "time/time_tag.h"

namespace kova {

class PacketFile;

namespace record_stream {
inline constexpr std::size_t kWindowSlots = 7;
inline constexpr std::size_t kLookBehind = 3;  // records kept before the one handed out
inline constexpr std::size_t kChannelCount = 13;
// The step of a fill record's time, a Julian-date difference (one second).
inline constexpr double kOneSecond = 1.1574074074074073e-05;
// Gap classes by the step between two time tags in seconds (secondsBetween): a step above
// 60 s is a long gap, above 1.1 s a short one, anything else no gap.
inline constexpr double kShortGapSeconds = 1.1;
inline constexpr double kLongGapSeconds = 60.0;
}  // namespace record_stream

// Polynomial through up to seven points (x, y), evaluated by Neville's recursion (the record
// stream gives x as seconds from the record before a gap):
// P(i,i) = y_i; P(i,j) = (P(i,j-1) (x_j - x) + P(i+1,j) (x - x_i)) / (x_j - x_i); the value
// is P(1,n). The points need not be in order of x; two points with the same x make the
// value not finite.
class NevilleInterpolator {
public:
    static constexpr std::size_t kCapacity = record_stream::kWindowSlots;

    void clear() { count_ = 0; }
    // Adds a point; a point beyond the capacity is ignored and false returned.
    bool addPoint(double x, double y);
    std::size_t pointCount() const { return count_; }
    // The interpolated value at x; 0.0 without points.
    double evaluate(double x) const;

private:
    double neville(std::size_t i, std::size_t j, double x) const;

    std::array<double, kCapacity> xs_{};
    std::array<double, kCapacity> ys_{};
    std::size_t count_ = 0;
};

class NavRecordStream {
public:
    // A stream over an open, indexed packet file whose navigation packets are
    // `packetReadSize` bytes long. The window slots and the read buffer are created here
    // once; handing out records allocates nothing (apart from a new revolution entry).
    NavRecordStream(PacketFile& input, std::uint32_t packetReadSize);
    NavRecordStream(const NavRecordStream&) = delete;
    NavRecordStream& operator=(const NavRecordStream&) = delete;

    // The next record, real or filled, in time order of the data; nullptr at the end (the
    // packet file is no longer good and every record of the window was handed out). The
    // record stays valid until the next call; its own flag word is already cleared, the
    // flags that belong to it are currentQaFlags().
    const NavRecord* next();
    // The flag word of the record last handed out.
    std::uint16_t currentQaFlags() const { return handedOverFlags_; }
    // The time tag of the record last handed out: a real record's own tag, or (S0 + k, C0)
    // for fill record k of a gap after the real record tagged (S0, C0).
    const TimeTag& currentTag() const { return tags_[current_]; }
    // Records handed out so far, fill records included.
    std::uint32_t recordCount() const { return recordCount_; }
    // The orbit revolutions cut from every record handed out.
    const SatPass& satPass() const { return satPass_; }
    // The buffer the last packet read went into (it keeps the bytes of a failed read).
    const NavRecord& scratchRecord() const { return records_[lastRead_]; }

private:
    // Index into records_ and tags_ of the record at a window position.
    std::size_t recordAt(std::size_t windowPosition) const {
        return slotRecords_[(oldest_ + windowPosition) % record_stream::kWindowSlots];
    }
    void topUpWindow();
    void addSpareToWindow();
    void loadChannels(const TimeTag& origin);
    const NavRecord* handOver();

    PacketFile& input_;
    std::int64_t nextPacketIndex_ = 0;

    // The seven slots of the ring and one spare record that every packet is read into. A
    // packet read completely joins the window by trading places with the slot it fills, so a
    // failed read leaves every slot as it was and no record is ever copied.
    std::vector<NavRecord> records_;  // record_stream::kWindowSlots + 1 records
    // The time tag of each record: its packet's, or the tag of the fill record that took
    // its place. Gaps are classed and filled on tag differences, which are exact where
    // Julian dates carry a grain of about 40 us.
    std::array<TimeTag, record_stream::kWindowSlots + 1> tags_{};
    std::array<std::size_t, record_stream::kWindowSlots> slotRecords_{};  // slot -> record
    std::size_t spare_ = record_stream::kWindowSlots;
    std::size_t lastRead_ = record_stream::kWindowSlots;
    std::size_t held_ = 0;
    std::size_t oldest_ = 0;
    std::size_t writePosition_ = 0;
    std::size_t cursor_ = 0;  // window position of the next record to hand out

    bool filling_ = false;
    double fillTime_ = 0.0;        // Julian date of the last fill record: one-second steps added
    double gapSeconds_ = 0.0;      // the step across the gap being filled
    std::int64_t fillNumber_ = 0;  // k of the last fill record
    TimeTag gapStart_;             // tag of the real record before that gap
    std::size_t current_ = 0;      // record index of the one last handed out
    std::uint16_t handedOverFlags_ = 0;
    std::array<NevilleInterpolator, record_stream::kChannelCount> channels_{};
    std::uint32_t recordCount_ = 0;

    RevolutionCutter cutter_;
    SatPass satPass_;
};

}  // namespace kova
