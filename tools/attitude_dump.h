#pragma once
// attdiag: the text dump of an attitude file: the common and attitude headers and a window
// of the records. Unlike the ephemeris dump it shows no file positions and no trailer, and it
// stops reading as soon as the window is complete.
#include <iosfwd>

#include "tools/dump_options.h"

namespace kova {

class DumpTextWriter;

// The dump from the first header read on, for an input opened at its start. A record of the
// window that meets the end of the file ends the records with "Early End of File".
void dumpAttitudeFile(std::istream& input, DumpTextWriter& out, RecordWindow window);

// The program: arguments as given to main, messages to `err`; returns the exit status.
int runAttdiag(int argc, const char* const* argv, std::ostream& err);

}  // namespace kova
