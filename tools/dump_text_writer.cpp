#include "tools/dump_text_writer.h"

#include <cstring>
#include <ostream>

#include "tools/number_styles.h"
#include "tools/qa_flag_text.h"

namespace kova {

namespace {
// Large enough that a ten-day dump reaches the file in a few dozen writes.
constexpr std::size_t kBufferSize = std::size_t{1} << 20;
}  // namespace

DumpTextWriter::DumpTextWriter(std::ostream& sink)
    : sink_(sink), buffer_(new char[kBufferSize]) {}

DumpTextWriter::~DumpTextWriter() { flush(); }

void DumpTextWriter::drain() {
    if (used_ != 0) sink_.write(buffer_.get(), static_cast<std::streamsize>(used_));
    used_ = 0;
}

void DumpTextWriter::flush() {
    drain();
    sink_.flush();
}

char* DumpTextWriter::reserve(std::size_t length) {
    if (kBufferSize - used_ < length) drain();
    return buffer_.get() + used_;
}

void DumpTextWriter::text(std::string_view literal) {
    if (literal.size() > kBufferSize) {
        drain();
        sink_.write(literal.data(), static_cast<std::streamsize>(literal.size()));
        return;
    }
    char* out = reserve(literal.size());
    std::memcpy(out, literal.data(), literal.size());
    commit(out + literal.size());
}

void DumpTextWriter::textField(const std::uint8_t* field, std::size_t width) {
    const void* nul = std::memchr(field, 0, width);
    const std::size_t length =
        nul == nullptr ? width : static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - field);
    text(std::string_view(reinterpret_cast<const char*>(field), length));
}

void DumpTextWriter::lineEnd() {
    char* out = reserve(1);
    *out = '\n';
    commit(out + 1);
}

void DumpTextWriter::unsignedNumber(std::uint32_t value, unsigned width) {
    // A field wider than a 32-bit number needs is never asked for; cap it all the same.
    constexpr unsigned kWidestField = 32;
    if (width > kWidestField) width = kWidestField;
    commit(number_style::writeUnsigned(reserve(kWidestField), value, width));
}

void DumpTextWriter::signedNumber(std::int64_t value) {
    commit(number_style::writeSigned(reserve(24), value, plusSign_));
}

void DumpTextWriter::fixedNumber(double value, int digits) {
    commit(number_style::writeFixed(reserve(number_style::kMaxNumberText), value, digits, plusSign_));
}

void DumpTextWriter::hexFlagWord(std::uint32_t flagWord) {
    commit(number_style::writeHex4(reserve(4), flagWord));
}

void DumpTextWriter::qaFlagText(std::uint32_t flagWord) {
    commit(writeQaFlagText(reserve(kQaFlagTextLength), flagWord));
}

}  // namespace kova
