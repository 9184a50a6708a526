#pragma once
// A table of settings: text values under keywords that begin with '-', iterated in ascending
// byte order of the keywords. kova keeps its command line, its configuration file and its
// defaults in such tables; the dump tools keep their three options in one.
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>

namespace kova {

class OptionTable {
public:
    virtual ~OptionTable() = default;

    // Stores the value under the keyword, creating the keyword or replacing its value.
    void setOption(std::string_view keyword, std::string_view value);
    // The value, or the empty text when the keyword is absent; never creates an entry.
    std::string getOption(std::string_view keyword) const;
    // A switch is on only when its value is exactly "yes".
    bool isOn(std::string_view keyword) const;
    // keyword, two tabs, value, end of line (flushed), in keyword order.
    void listOptions(std::ostream& out) const;

    const std::map<std::string, std::string, std::less<>>& entries() const { return table_; }

private:
    std::map<std::string, std::string, std::less<>> table_;
};

}  // namespace kova
