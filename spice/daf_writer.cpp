#include "spice/daf_writer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace kova {

namespace {

std::uint64_t ceilDivide(std::uint64_t a, std::uint64_t b) { return (a + b - 1) / b; }

// Copies `text` into `field`, cut to `size` characters and padded with blanks.
void putBlankPadded(std::uint8_t* field, std::size_t size, std::string_view text) {
    std::memset(field, ' ', size);
    std::memcpy(field, text.data(), std::min(size, text.size()));
}

std::uint64_t commentRecordsFor(std::size_t commentBytes) {
    return commentBytes == 0 ? 0 : ceilDivide(commentBytes + 1, daf::kCommentCharactersPerRecord);
}

}  // namespace

void DafArraySummary::setName(std::string_view text) {
    name.fill(' ');
    std::copy_n(text.begin(), std::min(name.size(), text.size()), name.begin());
}

DafWriter::DafWriter(ByteSink& sink) : sink_(sink), buffer_(new std::uint8_t[kBufferBytes]) {}

std::uint64_t DafWriter::headerRecords(std::size_t commentBytes, std::size_t arrays) {
    return 1 + commentRecordsFor(commentBytes) + 2 * ceilDivide(arrays, daf::kSummariesPerRecord);
}

bool DafWriter::begin(std::string_view idWord, std::string_view internalName, std::string_view comments,
                      const std::vector<DafArraySummary>& arrays) {
    std::vector<std::uint8_t> header;
    if (!composeHeader(idWord, internalName, comments, arrays, header)) return false;
    wordsWritten_ = 0;
    putBytes(header.data(), header.size());
    return true;
}

void DafWriter::beginBody(std::uint64_t headerRecords) {
    if (bodyHeaderRecords_ != 0) sink_.startOver();
    used_ = 0;
    wordsWritten_ = 0;
    bodyHeaderRecords_ = headerRecords;
    putZeros(headerRecords * daf::kRecordBytes);
}

bool DafWriter::finishWithHeader(std::string_view idWord, std::string_view internalName, std::string_view comments,
                                 const std::vector<DafArraySummary>& arrays) {
    std::vector<std::uint8_t> header;
    if (!composeHeader(idWord, internalName, comments, arrays, header)) return false;
    if (header.size() != bodyHeaderRecords_ * daf::kRecordBytes) {
        error_ = "the header takes " + std::to_string(header.size() / daf::kRecordBytes) + " records, not the " +
                 std::to_string(bodyHeaderRecords_) + " left for it";
        return false;
    }
    if (!finish()) return false;
    sink_.overwrite(0, reinterpret_cast<const char*>(header.data()), header.size());
    return true;
}

bool DafWriter::composeHeader(std::string_view idWord, std::string_view internalName, std::string_view comments,
                              const std::vector<DafArraySummary>& arrays, std::vector<std::uint8_t>& header) {
    using namespace daf;
    if (arrays.empty()) {
        error_ = "a DAF needs at least one array";
        return false;
    }
    const std::uint64_t commentRecords = commentRecordsFor(comments.size());
    const std::uint64_t summaryRecords = ceilDivide(arrays.size(), kSummariesPerRecord);
    const std::uint64_t firstSummaryRecord = commentRecords + 2;
    const std::uint64_t firstDataAddress =
        static_cast<std::uint64_t>(kWordsPerRecord) * (commentRecords + 1 + 2 * summaryRecords) + 1;
    std::uint64_t freeAddress = firstDataAddress;
    for (const DafArraySummary& array : arrays) freeAddress += array.words;
    if (freeAddress > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        error_ = "the kernel would pass the largest word address of a DAF (2^31 - 1 words, 16 GiB)";
        return false;
    }
    wordsPlanned_ = freeAddress - firstDataAddress;
    header.clear();
    header.reserve((firstDataAddress - 1) * kWordBytes);
    const auto putRecord = [&header](const std::array<std::uint8_t, kRecordBytes>& record) {
        header.insert(header.end(), record.begin(), record.end());
    };

    // File record.
    std::array<std::uint8_t, kRecordBytes> record{};
    putBlankPadded(record.data() + file_record::kIdWord, idWord.size(), idWord);
    le::storeI32(record.data() + file_record::kDoubleCount, kSummaryDoubles);
    le::storeI32(record.data() + file_record::kIntegerCount, kSummaryIntegers);
    putBlankPadded(record.data() + file_record::kInternalName, file_record::kInternalNameLength, internalName);
    le::storeI32(record.data() + file_record::kForward, static_cast<std::int32_t>(firstSummaryRecord));
    le::storeI32(record.data() + file_record::kBackward,
                 static_cast<std::int32_t>(firstSummaryRecord + 2 * (summaryRecords - 1)));
    le::storeI32(record.data() + file_record::kFreeAddress, static_cast<std::int32_t>(freeAddress));
    putBlankPadded(record.data() + file_record::kFormat, kLittleEndianFormat.size(), kLittleEndianFormat);
    std::copy(kFtpValidation.begin(), kFtpValidation.end(), record.begin() + file_record::kFtpString);
    putRecord(record);

    // Comment records: the line stream with NUL for each line end, then EOT, then blanks.
    for (std::uint64_t r = 0; r < commentRecords; ++r) {
        record.fill(0);
        for (std::size_t i = 0; i < kCommentCharactersPerRecord; ++i) {
            const std::size_t position = r * kCommentCharactersPerRecord + i;
            char c = ' ';
            if (position < comments.size()) {
                c = comments[position] == '\n' ? kCommentLineEnd : comments[position];
            } else if (position == comments.size()) {
                c = kCommentEnd;
            }
            record[i] = static_cast<std::uint8_t>(c);
        }
        putRecord(record);
    }

    // Summary and name records, in pairs, then the arrays in the same order.
    std::uint64_t address = firstDataAddress;
    for (std::uint64_t j = 0; j < summaryRecords; ++j) {
        const std::size_t first = j * kSummariesPerRecord;
        const std::size_t count = std::min(kSummariesPerRecord, arrays.size() - first);
        const std::uint64_t thisRecord = firstSummaryRecord + 2 * j;
        record.fill(0);
        le::storeF64(record.data(), j + 1 < summaryRecords ? static_cast<double>(thisRecord + 2) : 0.0);
        le::storeF64(record.data() + kWordBytes, j > 0 ? static_cast<double>(thisRecord - 2) : 0.0);
        le::storeF64(record.data() + 2 * kWordBytes, static_cast<double>(count));
        for (std::size_t k = 0; k < count; ++k) {
            const DafArraySummary& array = arrays[first + k];
            std::uint8_t* summary = record.data() + kWordBytes * (kSummaryControlWords + kSummaryWords * k);
            le::storeF64(summary, array.times[0]);
            le::storeF64(summary + kWordBytes, array.times[1]);
            std::uint8_t* integers = summary + kWordBytes * kSummaryDoubles;
            for (std::size_t i = 0; i < array.identifiers.size(); ++i) le::storeI32(integers + 4 * i, array.identifiers[i]);
            le::storeI32(integers + 16, static_cast<std::int32_t>(address));
            le::storeI32(integers + 20, static_cast<std::int32_t>(address + array.words - 1));
            address += array.words;
        }
        putRecord(record);

        record.fill(0);
        std::memset(record.data(), ' ', kNameCharactersPerRecord);
        for (std::size_t k = 0; k < count; ++k) {
            std::memcpy(record.data() + kNameCharacters * k, arrays[first + k].name.data(), kNameCharacters);
        }
        putRecord(record);
    }
    return true;
}

void DafWriter::putWords(const double* values, std::size_t count) {
    if constexpr (std::endian::native == std::endian::little) {
        // Here the values in memory are already the file's bytes: a long run of them goes to the
        // sink from where it is held, in blocks, without a copy through the buffer.
        constexpr std::size_t kDirectBlockWords = (std::size_t{4} << 20) / daf::kWordBytes;  // 4 MiB
        if (count >= kBufferBytes / daf::kWordBytes) {
            flush();
            wordsWritten_ += count;
            while (count > 0) {
                const std::size_t now = std::min(count, kDirectBlockWords);
                sink_.write(reinterpret_cast<const char*>(values), now * daf::kWordBytes);
                values += now;
                count -= now;
            }
            return;
        }
    }
    while (count > 0) {
        if (used_ == kBufferBytes) flush();
        const std::size_t room = (kBufferBytes - used_) / daf::kWordBytes;
        const std::size_t now = std::min(room, count);
        std::uint8_t* out = buffer_.get() + used_;
        for (std::size_t i = 0; i < now; ++i) le::storeF64(out + daf::kWordBytes * i, values[i]);
        used_ += now * daf::kWordBytes;
        values += now;
        count -= now;
        wordsWritten_ += now;
    }
}

bool DafWriter::finish() {
    if (wordsWritten_ != wordsPlanned_) {
        error_ = "the arrays' words (" + std::to_string(wordsWritten_) + ") differ from their summaries' lengths (" +
                 std::to_string(wordsPlanned_) + ")";
        flush();
        return false;
    }
    const std::size_t usedInLastRecord = (wordsWritten_ * daf::kWordBytes) % daf::kRecordBytes;
    if (usedInLastRecord != 0) putZeros(daf::kRecordBytes - usedInLastRecord);
    flush();
    return true;
}

void DafWriter::flush() {
    if (used_ > 0) sink_.write(reinterpret_cast<const char*>(buffer_.get()), used_);
    used_ = 0;
}

void DafWriter::putBytes(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        if (used_ == kBufferBytes) flush();
        const std::size_t now = std::min(size, kBufferBytes - used_);
        std::memcpy(buffer_.get() + used_, data, now);
        used_ += now;
        data += now;
        size -= now;
    }
}

void DafWriter::putZeros(std::size_t size) {
    while (size > 0) {
        if (used_ == kBufferBytes) flush();
        const std::size_t now = std::min(size, kBufferBytes - used_);
        std::memset(buffer_.get() + used_, 0, now);
        used_ += now;
        size -= now;
    }
}

}  // namespace kova
