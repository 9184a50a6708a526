#include "report/input_text.h"

namespace kova::report {
namespace {

constexpr char kUpperHexDigits[] = "0123456789ABCDEF";
constexpr unsigned char kDelete = 0x7F;
constexpr char32_t kLastC1Control = 0x9F;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The code point of a well-formed sequence of `length` bytes.
char32_t codePointOf(std::string_view bytes, std::size_t length) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (length == 1) return lead;
    char32_t value = lead & (0x7F >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) value = (value << 6) | (static_cast<unsigned char>(bytes[i]) & 0x3F);
    return value;
}

void appendEscapedByte(std::string& text, unsigned char byte) {
    text.append("\\x");
    text.push_back(kUpperHexDigits[byte >> 4]);
    text.push_back(kUpperHexDigits[byte & 0xF]);
}

}  // namespace

std::size_t wellFormedUtf8Length(std::string_view bytes) {
    if (bytes.empty()) return 0;
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80) return 1;
    // The lead byte fixes the length and the range of the second byte (which rules out
    // overlong forms, surrogates and code points above U+10FFFF); later bytes are 0x80 to 0xBF.
    std::size_t length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) secondLow = 0xA0;
        if (lead == 0xED) secondHigh = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) secondLow = 0x90;
        if (lead == 0xF4) secondHigh = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    const auto second = static_cast<unsigned char>(bytes[1]);
    if (second < secondLow || second > secondHigh) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(static_cast<unsigned char>(bytes[i]))) return 0;
    }
    return length;
}

void appendPrintable(std::string& text, std::string_view raw) {
    std::size_t at = 0;
    while (at < raw.size()) {
        const std::string_view rest = raw.substr(at);
        const std::size_t length = wellFormedUtf8Length(rest);
        const auto lead = static_cast<unsigned char>(rest[0]);
        if (length == 0) {
            appendEscapedByte(text, lead);
            ++at;
            continue;
        }
        const char32_t codePoint = codePointOf(rest, length);
        if (codePoint < 0x20 || codePoint == kDelete || (codePoint >= 0x80 && codePoint <= kLastC1Control)) {
            for (std::size_t i = 0; i < length; ++i) appendEscapedByte(text, static_cast<unsigned char>(rest[i]));
        } else if (codePoint == '\\') {
            text.append("\\\\");
        } else {
            text.append(rest.substr(0, length));
        }
        at += length;
    }
}

std::string printableText(std::string_view raw) {
    std::string text;
    appendPrintable(text, raw);
    return text;
}

}  // namespace kova::report
