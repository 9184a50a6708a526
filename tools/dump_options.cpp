#include "tools/dump_options.h"

#include <cstdlib>
#include <ostream>

#include "core/run_stop.h"

namespace kova {

std::uint32_t unsignedFromDecimalText(const std::string& text) {
    // strtol reads exactly what atoi reads and, unlike atoi, is defined on overflow.
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return static_cast<std::uint32_t>(static_cast<unsigned long>(value));
}

std::string dumpFileNameFor(const std::string& inputName) { return inputName + ".txt"; }

DumpOptions::DumpOptions() {
    options_.setOption(dump_option::kFile, "");
    options_.setOption(dump_option::kBegin, "0");
    options_.setOption(dump_option::kCount, dump_option::kAllRecords);
}

void DumpOptions::scanCommandLine(int argc, const char* const* argv, std::ostream& err) {
    if (argc > 1) firstArgument_ = argv[1];
    for (int index = 1; index < argc; ++index) {
        const char* argument = argv[index];
        if (argument[0] != '-') continue;
        if (index + 1 >= argc) {
            err << "\nBad Command Line Keyword: " << argument << std::endl;
            stopRun(kStatusFailure);
        }
        options_.setOption(argument, argv[index + 1]);
    }
}

std::string DumpOptions::inputFileName() const {
    std::string name = options_.getOption(dump_option::kFile);
    return name.empty() ? firstArgument_ : name;
}

RecordWindow DumpOptions::recordWindow() const {
    RecordWindow window;
    window.first = unsignedFromDecimalText(options_.getOption(dump_option::kBegin));
    const std::string count = options_.getOption(dump_option::kCount);
    window.limit = count == dump_option::kAllRecords ? 0xFFFFFFFFu : unsignedFromDecimalText(count);
    return window;
}

}  // namespace kova
