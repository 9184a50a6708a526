#pragma once
// The comment lines a kernel carries (the DAF comment area, the text kernels' comments), kept
// as one text with a line feed after each line. Every line is made fit for both: printable
// ASCII only (any other byte becomes '?'), at most 132 characters (a longer line is cut) and
// no trailing blanks (the comment area does not keep them).
#include <cstddef>
#include <string>
#include <string_view>

namespace kova {

inline constexpr std::size_t kCommentLineMaxLength = 132;

class CommentLines {
public:
    void add(std::string_view line);
    // Each line followed by '\n'.
    const std::string& text() const { return text_; }
    std::size_t lineCount() const { return lines_; }
    void reserve(std::size_t bytes) { text_.reserve(bytes); }
    // No lines; the memory stays for the next ones.
    void clear() {
        text_.clear();
        lines_ = 0;
    }

private:
    std::string text_;
    std::size_t lines_ = 0;
};

// `text` with every byte outside printable ASCII made '?'.
std::string printableAscii(std::string_view text);

}  // namespace kova
