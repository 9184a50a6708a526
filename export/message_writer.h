#pragma once
// Writes one OEM or AEM in KVN form from a plan (message_plan.h) and the same records in the
// same order: the header, then per segment the metadata block, the comment lines of its notes
// and one data line per exported record.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/byte_sink.h"
#include "export/export_record.h"
#include "export/kvn_text.h"
#include "export/message_plan.h"

namespace kova {

enum class AemVersion { k1_0, k2_0 };

// The texts every segment and the header carry.
struct MessageIdentity {
    std::string objectName;
    std::string objectId;
    std::string originator;
    std::string creationDate;  // UTC epoch text
    AemVersion aemVersion = AemVersion::k1_0;
};

class MessageWriter {
public:
    // Writes the header into the buffer at once.
    MessageWriter(const MessagePlan& plan, const MessageIdentity& identity, ByteSink& sink);
    MessageWriter(const MessageWriter&) = delete;
    MessageWriter& operator=(const MessageWriter&) = delete;

    // The next record of the same sequence the plan was made from. False when the records
    // no longer agree with the plan (the input changed between the two passes) or the sink
    // has failed; the message is then incomplete.
    bool add(const ExportRecord& record);
    // After the last record: false unless every planned segment was written whole and the
    // sink took every byte.
    bool finish();

    // Why add or finish returned false.
    const std::string& error() const { return error_; }

private:
    void writeHeader();
    void openSegment(const PlannedSegment& segment, bool afterLongGap);
    void writeNote(const PlanNote& note);
    void writeDataLine(const RecordChoice& choice, const ExportRecord& record);
    bool closeSegment();
    bool disagree(std::string_view what);

    void put(std::string_view text);
    void putKeyword(std::string_view keyword, std::string_view value);
    void putEpochKeyword(std::string_view keyword, std::int64_t microseconds);
    void flushIfFull() {
        if (used_ > kBufferSize - kLineReserve) flush();
    }
    bool flush();

    static constexpr std::size_t kBufferSize = std::size_t{1} << 16;
    static constexpr std::size_t kLineReserve = 512;  // more than any line the writer forms

    const MessagePlan& plan_;
    MessageIdentity identity_;
    ByteSink& sink_;
    RecordSelector selector_;
    kvn::EpochTextWriter epochText_;
    std::size_t segment_ = 0;  // index + 1 of the open segment; 0 before the first
    std::uint64_t segmentRecords_ = 0;
    std::int64_t lastMicroseconds_ = 0;
    bool failed_ = false;
    std::string error_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

}  // namespace kova
