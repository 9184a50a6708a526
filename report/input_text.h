#pragma once
// Text that comes from outside the program (file names, lines of the norad file, names given
// on the command line) holds whatever bytes its source held. These functions decide how such
// bytes reach each form of the report, so that no control byte reaches a terminal or a page
// raw and the JSON is always valid UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace kova::report {

// Bytes of the well-formed UTF-8 sequence that opens `bytes` (1 to 4), or 0 when `bytes` is
// empty or opens with an ill-formed sequence: a continuation byte, an overlong form, a
// surrogate, a code point above U+10FFFF or a sequence cut short.
std::size_t wellFormedUtf8Length(std::string_view bytes);

// `raw` appended to `text` for a terminal or a page: every well-formed UTF-8 character that
// is not a control character is copied; a C0 control (0x00 to 0x1F), DEL (0x7F), each byte of
// a C1 control (U+0080 to U+009F) and each byte outside a well-formed sequence is written as
// \xHH (two upper-case hexadecimal digits), and a backslash as \\, so the text stays
// unambiguous.
void appendPrintable(std::string& text, std::string_view raw);
std::string printableText(std::string_view raw);

}  // namespace kova::report
