#include "spice/comment_lines.h"

namespace kova {

namespace {
char printable(char c) { return c >= ' ' && c <= '~' ? c : '?'; }
}  // namespace

void CommentLines::add(std::string_view line) {
    if (line.size() > kCommentLineMaxLength) line = line.substr(0, kCommentLineMaxLength);
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    for (const char c : line) text_.push_back(printable(c));
    text_.push_back('\n');
    ++lines_;
}

std::string printableAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = printable(c);
    return result;
}

}  // namespace kova
