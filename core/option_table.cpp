#include "core/option_table.h"

#include <ostream>

namespace kova {

namespace {
constexpr std::string_view kOnValue = "yes";
}  // namespace

void OptionTable::setOption(std::string_view keyword, std::string_view value) {
    const auto entry = table_.find(keyword);
    if (entry != table_.end()) {
        entry->second = value;
        return;
    }
    table_.emplace(std::string(keyword), std::string(value));
}

std::string OptionTable::getOption(std::string_view keyword) const {
    const auto entry = table_.find(keyword);
    return entry == table_.end() ? std::string() : entry->second;
}

bool OptionTable::isOn(std::string_view keyword) const {
    const auto entry = table_.find(keyword);
    return entry != table_.end() && entry->second == kOnValue;
}

void OptionTable::listOptions(std::ostream& out) const {
    for (const auto& [keyword, value] : table_) out << keyword << "\t\t" << value << std::endl;
}

}  // namespace kova
