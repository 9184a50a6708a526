#include "toolkit/record_stream.h"

#include <bitset>
#include <utility>

#include "core/big_endian.h"
#include "packets/packet_file.h"
#include "packets/packet_layout.h"
#include "toolkit/layout.h"

namespace kova {

namespace {

// 1.05 s as a Julian-date difference.
constexpr double kSurelyNoGapDays = 1.05 / 86400.0;

// Only bits 0 to 15 exist; std::bitset refuses any other position with out_of_range.
std::uint16_t withFlag(std::uint16_t flags, unsigned bit) {
    std::bitset<16> bits(flags);
    bits.set(bit);
    return static_cast<std::uint16_t>(bits.to_ulong());
}

void setFlag(NavRecord& record, unsigned bit) { record.setQaFlags(withFlag(record.qaFlags(), bit)); }

}  // namespace

bool NevilleInterpolator::addPoint(double x, double y) {
    if (count_ == kCapacity) return false;
    xs_[count_] = x;
    ys_[count_] = y;
    ++count_;
    return true;
}

double NevilleInterpolator::evaluate(double x) const {
    if (count_ == 0) return 0.0;
    return neville(0, count_ - 1, x);
}

double NevilleInterpolator::neville(std::size_t i, std::size_t j, double x) const {
    if (i == j) return ys_[i];
    return (neville(i, j - 1, x) * (xs_[j] - x) + neville(i + 1, j, x) * (x - xs_[i])) / (xs_[j] - xs_[i]);
}

NavRecordStream::NavRecordStream(PacketFile& input, std::uint32_t packetReadSize) : input_(input) {
    records_.reserve(record_stream::kWindowSlots + 1);
    for (std::size_t i = 0; i < record_stream::kWindowSlots + 1; ++i) records_.emplace_back(packetReadSize);
    for (std::size_t slot = 0; slot < record_stream::kWindowSlots; ++slot) slotRecords_[slot] = slot;
}

const NavRecord* NavRecordStream::next() {
    using namespace record_stream;
    if (filling_) {
        // Fill record k has the tag (S0 + k, C0) and sits k seconds after the record before
        // the gap; its stored time accumulates one-second steps on that record's Julian date.
        ++fillNumber_;
        const double x = static_cast<double>(fillNumber_);
        fillTime_ = fillTime_ + kOneSecond;
        if (!(x < gapSeconds_ - kShortGapSeconds)) filling_ = false;
        NavValues filled;
        for (std::size_t k = 0; k < kChannelCount; ++k) filled[k] = channels_[k].evaluate(x);
        // The fill record takes the slot of the record before the gap, which was handed
        // out already; later gaps in the same window interpolate through it, at its tag.
        NavRecord& record = records_[current_];
        record.setValues(filled);
        record.setJulianDate(fillTime_);
        tags_[current_] = TimeTag{gapStart_.seconds + fillNumber_, gapStart_.subsecondCount};
        setFlag(record, qa_flags::kRep);
        return handOver();
    }

    topUpWindow();
    if (cursor_ >= held_) return nullptr;
    current_ = recordAt(cursor_);
    ++cursor_;
    // A step of the records' Julian dates of at most 1.05 s is a step of their tags below
    // 1.1 s (each Julian date lies within 21 us of its tag's time): no gap, and the usual
    // one-second step needs no tag difference.
    if (cursor_ < held_ &&
        records_[recordAt(cursor_)].julianDate() - records_[current_].julianDate() > kSurelyNoGapDays) {
        const std::size_t following = recordAt(cursor_);
        const double step = secondsBetween(tags_[current_], tags_[following]);
        if (step > kLongGapSeconds) {
            setFlag(records_[current_], qa_flags::kLgf);
            setFlag(records_[following], qa_flags::kLgb);
        } else if (step > kShortGapSeconds) {
            setFlag(records_[current_], qa_flags::kSgf);
            setFlag(records_[following], qa_flags::kSgb);
            filling_ = true;
            gapSeconds_ = step;
            fillNumber_ = 0;
            gapStart_ = tags_[current_];
            fillTime_ = records_[current_].julianDate();
            loadChannels(gapStart_);
        }
    }
    return handOver();
}

void NavRecordStream::topUpWindow() {
    using record_stream::kLookBehind;
    using record_stream::kWindowSlots;
    while (input_.good() && !(held_ == kWindowSlots && cursor_ <= kLookBehind)) {
        // Reads go into the spare record, so a read that fails (a wrong length, a
        // truncated last packet) leaves every record of the window as it was.
        lastRead_ = spare_;
        input_.readPacket(records_[spare_], static_cast<std::int32_t>(nextPacketIndex_));
        ++nextPacketIndex_;
        if (input_.good()) addSpareToWindow();
    }
}

void NavRecordStream::addSpareToWindow() {
    // A packet read completely holds its whole time tag.
    const std::uint8_t* bytes = records_[spare_].data();
    tags_[spare_] = TimeTag{be::loadU32(bytes + nav_packet::kTimeTagSeconds),
                            be::loadU16(bytes + nav_packet::kTimeTagSubseconds)};
    // The record that held the slot (the oldest, once the window is full) becomes the spare.
    std::swap(slotRecords_[writePosition_], spare_);
    writePosition_ = (writePosition_ + 1) % record_stream::kWindowSlots;
    if (held_ < record_stream::kWindowSlots) {
        ++held_;
    } else {
        // The oldest record is dropped; positions count from the oldest.
        oldest_ = (oldest_ + 1) % record_stream::kWindowSlots;
        --cursor_;
    }
}

void NavRecordStream::loadChannels(const TimeTag& origin) {
    for (NevilleInterpolator& channel : channels_) channel.clear();
    std::array<TimeTag, record_stream::kWindowSlots> loaded;
    std::size_t loadedCount = 0;
    for (std::size_t position = 0; position < held_; ++position) {
        const std::size_t index = recordAt(position);
        const TimeTag& tag = tags_[index];
        // Two points at one time would divide by zero; the first record with a tag stands.
        bool seen = false;
        for (std::size_t i = 0; i < loadedCount; ++i) seen = seen || loaded[i] == tag;
        if (seen) continue;
        loaded[loadedCount++] = tag;
        const double x = secondsBetween(origin, tag);
        const NavValues& values = records_[index].values();
        for (std::size_t k = 0; k < record_stream::kChannelCount; ++k) channels_[k].addPoint(x, values[k]);
    }
}

const NavRecord* NavRecordStream::handOver() {
    NavRecord& record = records_[current_];
    handedOverFlags_ = record.qaFlags();
    record.setQaFlags(0);
    cutter_.cutRevolutions(record, satPass_);
    ++recordCount_;
    return &record;
}

}  // namespace kova
