#include "spice/naif_ids.h"

#include <charconv>

namespace kova {

namespace {

constexpr std::size_t kCatalogueNumberColumn = 2;  // columns 3 to 7, counted from 0
constexpr std::size_t kCatalogueNumberDigits = 5;

bool isBlankLike(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isPrintable(char c) { return c >= ' ' && c <= '~'; }

}  // namespace

std::optional<std::int32_t> noradNumberFromElementLine(std::string_view line1) {
    if (line1.size() < kCatalogueNumberColumn + kCatalogueNumberDigits) return std::nullopt;
    std::int32_t number = 0;
    bool digitSeen = false;
    for (std::size_t i = 0; i < kCatalogueNumberDigits; ++i) {
        const char c = line1[kCatalogueNumberColumn + i];
        if (c == ' ' && !digitSeen) continue;  // a leading blank reads as zero
        if (c < '0' || c > '9') return std::nullopt;
        digitSeen = true;
        number = number * 10 + (c - '0');
    }
    if (!digitSeen) return std::nullopt;
    return number;
}

std::optional<std::int32_t> parseNaifId(std::string_view text, std::string& error) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    if (text.empty() || status != std::errc() || stop != end || !spacecraftIdInRange(value)) {
        error = "--naif-id '" + std::string(text) +
                "': give an integer from -1 down to -2147483 (the CK ID, 1000 times it, must fit in 32 bits), "
                "e.g. --naif-id -190957, or leave the option out to take -100000 minus the NORAD catalogue number";
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::string normalisedBodyName(std::string_view text) {
    std::string name;
    name.reserve(text.size());
    bool blankPending = false;
    for (const char c : text) {
        if (isBlankLike(c)) {
            blankPending = !name.empty();
            continue;
        }
        if (blankPending) name.push_back(' ');
        blankPending = false;
        name.push_back(isPrintable(c) ? c : '?');
    }
    if (name.size() > kBodyNameMaxLength) {
        name.resize(kBodyNameMaxLength);
        while (!name.empty() && name.back() == ' ') name.pop_back();
    }
    if (name.empty()) return std::string(kDefaultBodyName);
    return name;
}

std::string busFrameName(std::string_view bodyName, std::int32_t spacecraftId) {
    std::string stem;
    stem.reserve(bodyName.size());
    for (const char c : bodyName) {
        char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        const bool kept = (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9');
        if (!kept) {
            if (stem.empty() || stem.back() == '_') continue;  // no leading '_', no runs
            upper = '_';
        }
        stem.push_back(upper);
    }
    while (!stem.empty() && stem.back() == '_') stem.pop_back();
    if (stem.size() > kFrameNameStemMaxLength) stem.resize(kFrameNameStemMaxLength);
    if (stem.empty()) stem = "SC" + std::to_string(-static_cast<std::int64_t>(spacecraftId));
    return stem + std::string(kFrameNameSuffix);
}

std::string spacecraftIdFromNoradSource(std::int32_t noradNumber) {
    return "-100000 minus NORAD catalogue number " + std::to_string(noradNumber);
}

std::string spacecraftIdFromOptionSource() { return "given by --naif-id"; }

}  // namespace kova
