#include "spice/text_kernel.h"

namespace kova::text_kernel {

namespace {
void appendNamePadded(std::string& text, std::string_view name) {
    text.append(name);
    if (name.size() < kNameColumnWidth) text.append(kNameColumnWidth - name.size(), ' ');
}
}  // namespace

void appendHeader(std::string& text, std::string_view typeWord, std::string_view comments) {
    text.append(typeWord);
    text.append("\n\n");
    text.append(comments);
    text.append("\n");
    text.append(kBeginData);
    text.append("\n\n");
}

void appendAssignment(std::string& text, std::string_view name, std::string_view value) {
    appendNamePadded(text, name);
    text.append("=  ");
    text.append(value);
    text.push_back('\n');
}

void appendAppendingAssignment(std::string& text, std::string_view name, std::string_view value) {
    appendNamePadded(text, name);
    text.append("+= ");
    text.append(value);
    text.push_back('\n');
}

void appendTrailer(std::string& text) {
    text.append("\n");
    text.append(kBeginText);
    text.append("\n");
}

std::string quoted(std::string_view text) {
    std::string result = "'";
    for (const char c : text) {
        result.push_back(c);
        if (c == '\'') result.push_back('\'');
    }
    result.push_back('\'');
    return result;
}

}  // namespace kova::text_kernel
