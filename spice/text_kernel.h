#pragma once
// The text kernel layout shared by the clock and frame kernels: the type word alone on the
// first line, comment lines, then the assignments between a "\begindata" and a "\begintext"
// line. Lines are printable ASCII, at most 132 characters, each ended by a line feed.
#include <string>
#include <string_view>

namespace kova::text_kernel {

inline constexpr std::size_t kNameColumnWidth = 33;  // names are at most 32 characters
inline constexpr std::string_view kBeginData = "\\begindata";
inline constexpr std::string_view kBeginText = "\\begintext";

// Appends the type word line, a blank line, `comments` (lines each ending in '\n', as
// CommentLines keeps them), a blank line and the "\begindata" line with a blank line after it.
void appendHeader(std::string& text, std::string_view typeWord, std::string_view comments);

// Appends "NAME<blanks>= value" or "NAME<blanks>+= value": the name padded to 33 columns,
// then "=  " or "+= " and the value.
void appendAssignment(std::string& text, std::string_view name, std::string_view value);
void appendAppendingAssignment(std::string& text, std::string_view name, std::string_view value);

// Appends a blank line and the "\begintext" line.
void appendTrailer(std::string& text);

// 'text' with each quote doubled.
std::string quoted(std::string_view text);

}  // namespace kova::text_kernel
