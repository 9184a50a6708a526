#include "report/json_writer.h"

#include "report/input_text.h"
#include "report/number_text.h"

namespace kova::report {
namespace {
constexpr char kHexDigits[] = "0123456789abcdef";
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kLastC1Control = 0x9F;
}

void JsonWriter::newline() {
    text_.push_back('\n');
    text_.append(2 * hasMembers_.size(), ' ');
}

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasMembers_.empty()) return;
    if (hasMembers_.back()) text_.push_back(',');
    hasMembers_.back() = true;
    newline();
}

void JsonWriter::key(std::string_view name) {
    beforeValue();
    quoted(name);
    text_.append(": ");
    afterKey_ = true;
}

void JsonWriter::beginObject() {
    beforeValue();
    text_.push_back('{');
    hasMembers_.push_back(false);
}

void JsonWriter::beginArray() {
    beforeValue();
    text_.push_back('[');
    hasMembers_.push_back(false);
}

void JsonWriter::close(char bracket) {
    const bool hadMembers = hasMembers_.back();
    hasMembers_.pop_back();
    if (hadMembers) newline();
    text_.push_back(bracket);
    if (hasMembers_.empty()) text_.push_back('\n');
}

void JsonWriter::endObject() { close('}'); }
void JsonWriter::endArray() { close(']'); }

void JsonWriter::string(std::string_view value) {
    beforeValue();
    quoted(value);
}

void JsonWriter::quoted(std::string_view value) {
    text_.push_back('"');
    std::size_t at = 0;
    while (at < value.size()) {
        const auto byte = static_cast<unsigned char>(value[at]);
        if (byte == '"' || byte == '\\') {
            text_.push_back('\\');
            text_.push_back(static_cast<char>(byte));
            ++at;
            continue;
        }
        if (byte >= 0x20 && byte < kDelete) {
            text_.push_back(static_cast<char>(byte));
            ++at;
            continue;
        }
        const std::size_t length = wellFormedUtf8Length(value.substr(at));
        // A C1 control (U+0080 to U+009F) is the two bytes 0xC2 0x80 to 0xC2 0x9F.
        const bool c1Control = length == 2 && byte == 0xC2 && static_cast<unsigned char>(value[at + 1]) <= kLastC1Control;
        if (length > 1 && !c1Control) {
            text_.append(value.substr(at, length));
            at += length;
        } else {
            // A control character, or a byte outside a well-formed sequence taken as the
            // Latin-1 character of the same value.
            const unsigned char escaped = c1Control ? static_cast<unsigned char>(value[at + 1]) : byte;
            text_.append("\\u00");
            text_.push_back(kHexDigits[escaped >> 4]);
            text_.push_back(kHexDigits[escaped & 0xF]);
            at += c1Control ? 2 : 1;
        }
    }
    text_.push_back('"');
}

void JsonWriter::fixed(double value, int decimals) {
    beforeValue();
    appendFixedOr(text_, value, decimals, "null");
}

void JsonWriter::scientific(double value, int digits) {
    beforeValue();
    appendScientificOr(text_, value, digits, "null");
}

void JsonWriter::integer(std::int64_t value) {
    beforeValue();
    appendInteger(text_, value);
}

void JsonWriter::unsignedInteger(std::uint64_t value) {
    beforeValue();
    appendUnsigned(text_, value);
}

void JsonWriter::boolean(bool value) {
    beforeValue();
    text_.append(value ? "true" : "false");
}

void JsonWriter::null() {
    beforeValue();
    text_.append("null");
}

}  // namespace kova::report
