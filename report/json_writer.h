#pragma once
// A small JSON writer: objects, arrays, strings and numbers appended to one text, two-space
// indentation, one member or element per line. Numbers come in fixed formats from
// number_text.h; values that are not finite are written as null, so the text is the same
// whatever compiler made the program.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kova::report {

class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The name of the next member of the current object.
    void key(std::string_view name);

    // Any bytes: well-formed UTF-8 is copied; '"' and '\\' are escaped; control characters
    // (C0, DEL, C1) and each byte outside a well-formed UTF-8 sequence are written as \u00XX,
    // the latter read as the Latin-1 character of that value. The text is always valid UTF-8.
    void string(std::string_view value);
    void fixed(double value, int decimals);       // null when not finite
    void scientific(double value, int digits);    // null when not finite
    void integer(std::int64_t value);
    void unsignedInteger(std::uint64_t value);
    void boolean(bool value);
    void null();

    // The text so far; complete once every object and array is ended (with a final newline).
    const std::string& text() const { return text_; }

private:
    void beforeValue();
    void newline();
    void close(char bracket);
    void quoted(std::string_view value);

    std::string text_;
    std::vector<bool> hasMembers_;  // one per open object or array
    bool afterKey_ = false;
};

}  // namespace kova::report
