#include "report/json_writer.h"

#include "report/number_text.h"

namespace kova::report {
namespace {
constexpr char kHexDigits[] = "0123456789abcdef";
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
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text_.push_back('\\');
            text_.push_back(c);
        } else if (byte < 0x20) {
            text_.append("\\u00");
            text_.push_back(kHexDigits[byte >> 4]);
            text_.push_back(kHexDigits[byte & 0xF]);
        } else {
            text_.push_back(c);
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
