#pragma once
// ephdiag: the text dump of an ephemeris file. It shows the common and ephemeris headers, the
// input position at each block boundary (so the block sizes and the place of the universal
// references can be checked), a window of the records, and the orbit metadata records.
#include <iosfwd>

#include "tools/dump_options.h"

namespace kova {

class DumpTextWriter;

// The dump from the first header read on, for an input opened at its start. Short files
// are dumped as far as they go: a read that meets the end fails the stream, every later
// position shows as -1 and the rest of the records repeat the last bytes read.
void dumpEphemerisFile(std::istream& input, DumpTextWriter& out, RecordWindow window);

// The program: arguments as given to main, messages to `err`; returns the exit status.
int runEphdiag(int argc, const char* const* argv, std::ostream& err);

}  // namespace kova
