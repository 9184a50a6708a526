#pragma once
// Fuzz entry of the configuration file: the whole input is the file. It is read as a run
// reads it, then merged with a command line, completed with the derived file names and
// listed in full when the file switches the listing on.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/run_stop.h"
#include "fuzz/discarding_stream.h"
#include "fuzz/scratch_file.h"
#include "run/options.h"

namespace kova::fuzz {

// The listing's time stamp: a fixed instant, so a run depends on the input alone.
inline constexpr std::int64_t kListingUnixSeconds = 1059573909;  // 2003-07-30 14:05:09

inline int fuzzConfigFile(const std::uint8_t* data, std::size_t size) {
    static ScratchFile file("config");
    const std::string& fileName = file.write(data, size);
    DiscardingStream sink;
    CommandLineOptions commandLine;
    commandLine.setOption(option_keyword::kConfigFile, fileName);
    commandLine.setOption(option_keyword::kStation, "fuzz");
    ConfigFileOptions config;
    try {
        readConfigFile(commandLine, config, sink);
        mergeCommandLine(commandLine, config);
        applyDefaultFileNames(config);
        listConfiguration(commandLine, config, sink, kListingUnixSeconds);
    } catch (const RunStop&) {
        // A read error stops the run; the message went to the sink.
    }
    return 0;
}

}  // namespace kova::fuzz
