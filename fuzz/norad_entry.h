#pragma once
// Fuzz entry of the element sets: the norad file search and parse of a pass, the print of
// the record it gives, and parseTle, tleChecksum and formatTle straight on the first two
// lines of the file.
//
// Input: the satellite name up to the first line feed, then the bytes of the norad file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/discarding_stream.h"
#include "fuzz/scratch_file.h"
#include "orbit/tle.h"
#include "pass/element_set_input.h"

namespace kova::fuzz {

// The text up to the next line feed of `text` from `start` on, and where the line after it begins.
inline std::string_view lineAt(std::string_view text, std::size_t& start) {
    if (start >= text.size()) return {};
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    return line;
}

inline void formatAndPrint(const TleRecord& tle, DiscardingStream& sink) {
    const auto lines = formatTle(tle);
    sink << lines.first << lines.second;
    printTle(tle, sink);
}

inline int fuzzNoradFile(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t position = 0;
    const std::string satelliteName(lineAt(input, position));
    const std::string_view fileBytes = position < input.size() ? input.substr(position) : std::string_view();

    static ScratchFile file("norad");
    const std::string& fileName =
        file.write(reinterpret_cast<const std::uint8_t*>(fileBytes.data()), fileBytes.size());
    DiscardingStream sink;

    TleRecord fromFile;
    ElementSetText text;
    if (!readNoradElementSet(fileName, satelliteName, fromFile, text)) {
        for (const std::string_view problem : text.problems) sink << problem;
        formatAndPrint(fromFile, sink);
    }

    std::size_t linePosition = 0;
    const std::string line1(lineAt(fileBytes, linePosition));
    const std::string line2(lineAt(fileBytes, linePosition));
    sink.put(tleChecksum(line1));
    sink.put(tleChecksum(line2));
    TleRecord direct;
    parseTle(line1, line2, direct);
    formatAndPrint(direct, sink);
    return 0;
}

}  // namespace kova::fuzz
