#pragma once
// Writer of a DAF, the container of SPK and CK files: 1024-byte records of 8-byte words,
// little-endian. The file record comes first, then the comment records, then every summary
// record with its name record right after it, then the arrays one after the other in the
// order of their summaries. The writer lays the file out from the comments and the arrays'
// summaries and lengths, writes everything up to the first array, then takes the arrays'
// words in order and pads the last record with zeros.
//
// The arrays' words do not depend on where the arrays start, so a file can also be written
// body first: records of zeros where the header will go (its size guessed), the arrays' words
// while they are still being made, and the header over the zeros at the end, when the comments
// and summaries are known. A guess that turns out wrong costs a second writing, never a
// different file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_sink.h"
#include "spice/little_endian.h"

namespace kova {

namespace daf {
inline constexpr std::size_t kRecordBytes = 1024;
inline constexpr std::size_t kWordBytes = 8;
inline constexpr std::int64_t kWordsPerRecord = 128;

// File record (record 1).
namespace file_record {
inline constexpr std::size_t kIdWord = 0;          // "DAF/SPK " or "DAF/CK  ", 8 characters
inline constexpr std::size_t kDoubleCount = 8;     // ND, int32
inline constexpr std::size_t kIntegerCount = 12;   // NI, int32
inline constexpr std::size_t kInternalName = 16;   // 60 characters, blank-padded
inline constexpr std::size_t kInternalNameLength = 60;
inline constexpr std::size_t kForward = 76;        // int32: first summary record
inline constexpr std::size_t kBackward = 80;       // int32: last summary record
inline constexpr std::size_t kFreeAddress = 84;    // int32: first free word address
inline constexpr std::size_t kFormat = 88;         // "LTL-IEEE"
inline constexpr std::size_t kFtpString = 699;     // 28 bytes, see kFtpValidation
}  // namespace file_record

inline constexpr std::string_view kSpkIdWord = "DAF/SPK ";
inline constexpr std::string_view kCkIdWord = "DAF/CK  ";
inline constexpr std::string_view kLittleEndianFormat = "LTL-IEEE";
// Bytes that a text-mode transfer would change (line ends, NUL, bytes above 127).
inline constexpr std::array<std::uint8_t, 28> kFtpValidation = {
    'F', 'T', 'P', 'S', 'T', 'R', ':', 0x0D, ':', 0x0A, ':', 0x0D, 0x0A, ':',
    0x0D, 0x00, ':', 0x81, ':', 0x10, 0xCE, ':', 'E', 'N', 'D', 'F', 'T', 'P'};

// Comment records: 1000 characters of the line stream each (lines end in NUL, the last one is
// followed by EOT, blanks after it), the rest of the record zero.
inline constexpr std::size_t kCommentCharactersPerRecord = 1000;
inline constexpr char kCommentLineEnd = '\0';
inline constexpr char kCommentEnd = '\x04';

// Summaries of SPK and CK arrays: 2 doubles and 6 int32 (two per word), 5 words; names of 40
// characters; 25 summaries to a summary record after its three control words (NEXT, PREV,
// NSUM, stored as doubles).
inline constexpr std::int32_t kSummaryDoubles = 2;
inline constexpr std::int32_t kSummaryIntegers = 6;
inline constexpr std::size_t kSummaryWords = 5;
inline constexpr std::size_t kNameCharacters = 40;
inline constexpr std::size_t kSummariesPerRecord = 25;
inline constexpr std::size_t kSummaryControlWords = 3;
inline constexpr std::size_t kNameCharactersPerRecord = 1000;
}  // namespace daf

// One array as its summary describes it: the two doubles (start and end time), the first four
// ints (the last two, its initial and final word addresses, the writer fills in), its length
// in words and its name.
struct DafArraySummary {
    std::array<double, 2> times{};
    std::array<std::int32_t, 4> identifiers{};
    std::uint64_t words = 0;
    std::array<char, daf::kNameCharacters> name{};

    // Sets the name, blank-padded, cut to 40 characters.
    void setName(std::string_view text);
};

class DafWriter {
public:
    // Bytes reach `sink` in blocks of up to kBufferBytes.
    static constexpr std::size_t kBufferBytes = std::size_t{1} << 20;

    explicit DafWriter(ByteSink& sink);
    DafWriter(const DafWriter&) = delete;
    DafWriter& operator=(const DafWriter&) = delete;

    // Writes the file record (`idWord` of daf::, the internal name cut to 60 characters), the
    // comment records of `comments` (lines each ending in '\n', see CommentLines; empty for
    // none) and the summary and name records of `arrays`. False, writing nothing, when there
    // is no array or the arrays would reach past the last 32-bit word address; error() says so.
    bool begin(std::string_view idWord, std::string_view internalName, std::string_view comments,
               const std::vector<DafArraySummary>& arrays);

    // The records before the first array's words (file record, comment records, summary and
    // name records) for comments of `commentBytes` and `arrays` arrays.
    static std::uint64_t headerRecords(std::size_t commentBytes, std::size_t arrays);

    // Body first, on a sink that can rewrite: `headerRecords` records of zeros, then the
    // arrays' words as after begin(). A second call starts the sink over.
    void beginBody(std::uint64_t headerRecords);
    // The header records beginBody() left room for (0 before it).
    std::uint64_t bodyHeaderRecords() const { return bodyHeaderRecords_; }
    // Ends a body-first file: pads it as finish() does, then writes the header of begin()'s
    // arguments over the zeros. False, with error() set, when that header needs another number
    // of records than beginBody() left (start over with it), or as begin() and finish().
    bool finishWithHeader(std::string_view idWord, std::string_view internalName, std::string_view comments,
                          const std::vector<DafArraySummary>& arrays);

    // The arrays' words, in the order of the summaries.
    void putWord(double value) {
        if (used_ == kBufferBytes) flush();
        le::storeF64(buffer_.get() + used_, value);
        used_ += daf::kWordBytes;
        ++wordsWritten_;
    }
    void putWords(const double* values, std::size_t count);

    // Pads the last record with zero bytes and hands everything left to the sink. False when
    // the words given were not exactly those the summaries announced.
    bool finish();

    const std::string& error() const { return error_; }
    // True once the sink failed (it keeps the reason).
    bool sinkFailed() const { return sink_.failed(); }

private:
    // The header records of begin()'s arguments into `header`; sets the words planned.
    bool composeHeader(std::string_view idWord, std::string_view internalName, std::string_view comments,
                       const std::vector<DafArraySummary>& arrays, std::vector<std::uint8_t>& header);
    void flush();
    void putBytes(const std::uint8_t* data, std::size_t size);
    void putZeros(std::size_t size);

    ByteSink& sink_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t used_ = 0;
    std::uint64_t wordsWritten_ = 0;
    std::uint64_t wordsPlanned_ = 0;
    std::uint64_t bodyHeaderRecords_ = 0;  // body first: the records left for the header
    std::string error_;
};

}  // namespace kova
