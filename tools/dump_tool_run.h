#pragma once
// What ephdiag and attdiag do alike around their dumps: the command line, the names of the
// input and dump files, opening both, the first two dump lines and the exit status.
#include <iosfwd>
#include <string_view>

#include "tools/dump_options.h"

namespace kova {

class DumpTextWriter;

struct DumpTool {
    std::string_view programName;  // "ephdiag": used in the usage line
    std::string_view fileKind;     // "Ephemeris": used in the title and open messages
    // Writes the dump of an opened input, from the first header read on.
    void (*dump)(std::istream& input, DumpTextWriter& out, RecordWindow window);
};

// Runs one dump tool and returns its exit status: 0 after a dump, -1 when the command line is
// empty or refused, when the dump file cannot be created or when the input cannot be opened.
// Messages go to `err`; the dump goes to the input name with ".txt" appended.
int runDumpTool(const DumpTool& tool, int argc, const char* const* argv, std::ostream& err);

}  // namespace kova
